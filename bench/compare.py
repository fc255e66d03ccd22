#!/usr/bin/env python3
"""Tables of medians and ratios from conversion_bench's JSON output.

Usage: compare.py RESULT.json
RESULT.json comes from --benchmark_out=RESULT.json --benchmark_out_format=json
with --benchmark_repetitions=N; only the median aggregates are read.
"""
import json
import sys

FORMS = ["UnitGetCurrent", "UnitGetCurrentRel", "UnitGetBase", "UnitGetBaseRel"]
# The UDUNITS-2 converter that does the same direction as each form.
UDUNITS_FOR = {"UnitGetCurrent": "udunits2_C_to_F", "UnitGetCurrentRel": "udunits2_C_to_F",
               "UnitGetBase": "udunits2_F_to_C", "UnitGetBaseRel": "udunits2_F_to_C"}


def medians(path):
    with open(path) as f:
        runs = json.load(f)["benchmarks"]
    result = {}
    for run in runs:
        if run.get("aggregate_name") == "median" and "ns_per_element" in run:
            result[run["run_name"]] = run["ns_per_element"]
    return result


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    m = medians(sys.argv[1])

    def get(name):
        return m.get(name, float("nan"))

    print("| form | placement | library ns/elem | reference ns/elem | library/reference (<= 1.1) "
          "| udunits2 ns/elem | udunits2/library (>= 2) |")
    print("|---|---|---|---|---|---|---|")
    for placement in ["out_of_place", "in_place"]:
        for form in FORMS:
            lib = get(f"Array/{form}/{placement}/library")
            ref = get(f"Array/{form}/{placement}/reference")
            ud = get(f"Array/{UDUNITS_FOR[form]}/{placement}")
            ok1 = "ok" if lib <= 1.1 * ref else "MISSED"
            ok2 = "ok" if ud >= 2 * lib else "MISSED"
            print(f"| {form} | {placement} | {lib:.3f} | {ref:.3f} | {lib / ref:.2f} {ok1} "
                  f"| {ud:.3f} | {ud / lib:.2f} {ok2} |")

    first = get("Single/UnitGetCurrent/first")
    last = get("Single/UnitGetCurrent/last")
    ud = get("Single/udunits2/cv_convert_double")
    print()
    print("| single value | ns | target | ratio |")
    print("|---|---|---|---|")
    print(f"| UnitGetCurrent, first quantity | {first:.2f} | | |")
    print(f"| UnitGetCurrent, last quantity | {last:.2f} | last <= 1.5 x first "
          f"| {last / first:.2f} {'ok' if last <= 1.5 * first else 'MISSED'} |")
    print(f"| cv_convert_double | {ud:.2f} | last <= cv_convert_double "
          f"| {last / ud:.2f} {'ok' if last <= ud else 'MISSED'} |")


if __name__ == "__main__":
    main()
