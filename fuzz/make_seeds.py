#!/usr/bin/env python3
"""Writes the seed corpora fuzz/corpus/udf and fuzz/corpus/fdf.

The seeds are assembled field by field from the stored layouts (little-endian,
fixed-width texts) rather than by the library, so that they also cover entry
versions that our writer never produces. Run it again after a layout change.
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def text(value, width):
    data = value.encode("utf-8")
    assert len(data) <= width
    return data + b"\0" * (width - len(data))


def unit_entry(factor, offset, label, state, version=2):
    if version < 2:
        numbers = struct.pack("<ff", factor, offset)
    else:
        numbers = struct.pack("<dd", factor, offset)
    return struct.pack("<H", version) + numbers + text(label, 21) + struct.pack("<H", state)


def sub_entry(number, name, symbol, label="", state=2, flags=0, pairs=(), version=4, declared=None):
    data = struct.pack("<Hi", version, number) + text(name, 41) + text(symbol, 21)
    if version >= 3:
        data += text(label, 21)
    data += struct.pack("<H", state)
    if version >= 2:
        data += struct.pack("<I", flags)
    if version >= 4:
        data += struct.pack("<H", len(pairs) if declared is None else declared)
        data += b"".join(struct.pack("<HH", d, i) for d, i in pairs)
    return data


def record(wid, name, symbol, label="", state=2, unit=0, units=None, slots=None, version=2):
    units = units or [unit_entry(1.0, 0.0, "", 1 if k == 0 else 2) for k in range(10)]
    slots = slots or [sub_entry(0, "", "") for _ in range(10)]
    data = struct.pack("<HH", version, wid) + text(name, 41)
    data += text(symbol, 11) if version == 1 else text(symbol, 21) + text(label, 21)
    data += struct.pack("<IIi", state, unit, len(units)) + b"".join(units)
    data += struct.pack("<i", len(slots)) + b"".join(slots)
    return data


def udf_header(count, unit_format, text_mode):
    return struct.pack("<HHHiH", 0xFFFF, 2, count, unit_format, text_mode)


def condition(quantity=0, sub=-1, value=0, device=0, index=0, tests=0, mask=0):
    return struct.pack("<HiIHHHI", quantity, sub, value, device, index, tests, mask)


def group_entry(name, conditions, version=2):
    table = b"".join(conditions) + condition() * (100 - len(conditions))
    if version < 2:
        table = table[:-4]
    return struct.pack("<H", version) + text(name, 300) + struct.pack("<i", len(conditions)) + table


def write(folder, name, data):
    path = os.path.join(HERE, "corpus", folder, name)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as out:
        out.write(data)


def main():
    write("udf", "empty-header.udf", udf_header(0, 0, 0))

    units = [unit_entry(1.0, 0.0, "Pa", 1), unit_entry(1e-5, 0.0, "bar", 1)]
    units += [unit_entry(1.0, 0.0, "", 2) for _ in range(8)]
    slots = [sub_entry(1, "Setpoint", "ps", "p_s", 3, 0x1, [(4, 1), (4, 2), (7, 0)])]
    slots += [sub_entry(0, "", "") for _ in range(9)]
    write("udf", "one-record.udf", udf_header(1, 1, 1) + record(11, "Pressure", "p", "p_abs", 2, 1, units, slots))

    old_units = [unit_entry(1.0, 0.0, "K", 1, version=0), unit_entry(1.0, -273.15, "degC", 1, version=1)]
    old_units += [unit_entry(1.0, 0.0, "", 2, version=1) for _ in range(8)]
    old_slots = [
        sub_entry(1, "Measured", "T", state=3, version=0),
        sub_entry(2, "Set", "Ts", state=3, version=1),
        sub_entry(3, "Error", "Te", state=3, flags=0x2, version=2),
        sub_entry(4, "Mean", "Tm", "T_m", 3, 0x10004, version=3),
    ] + [sub_entry(0, "", "") for _ in range(6)]
    crowded = [sub_entry(5, "Crowded", "c", state=3, flags=0x4, pairs=[(k, k) for k in range(52)])]
    crowded += [sub_entry(0, "", "") for _ in range(9)]
    write("udf", "old-versions.udf",
          struct.pack("<H", 2)
          + record(21, "Temperature", "T", unit=1, units=old_units, slots=old_slots, version=1)
          + record(22, "Speed", "v", "v", slots=crowded))

    write("fdf", "empty.fdf", struct.pack("<iHii", -1, 1, 0, 0))
    conditions = [condition(11, -1, 0, 0, 0, 0x01), condition(11, 1, 0x4, 4, 2, 0x1F, 0x5)]
    write("fdf", "one-group.fdf",
          struct.pack("<iHi", -1, 1, 1) + group_entry("Pressures", conditions) + struct.pack("<i", 1))
    write("fdf", "old-version-1.fdf",
          struct.pack("<i", 1) + group_entry("Device 4", [condition(device=4, tests=0x08)], version=1)
          + struct.pack("<i", 1))


if __name__ == "__main__":
    main()
