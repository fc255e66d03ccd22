#include "global_options.h"

#include <cstdlib>
#include <utility>

namespace units {
namespace tool {

namespace {

constexpr char kLangOption[] = "--lang";
constexpr char kLangPrefix[] = "--lang=";

}  // namespace

bool ApplyGlobalOptions(std::vector<std::string>* arguments, std::string* error) {
  std::vector<std::string> rest;
  std::string language;
  bool seen = false;
  for (size_t i = 0; i < arguments->size(); ++i) {
    const std::string& argument = (*arguments)[i];
    std::string value;
    if (argument == kLangOption) {
      if (i + 1 == arguments->size()) {
        *error = "--lang needs a language, e.g. --lang de";
        return false;
      }
      value = (*arguments)[++i];
    } else if (argument.rfind(kLangPrefix, 0) == 0) {
      value = argument.substr(sizeof(kLangPrefix) - 1);
    } else {
      rest.push_back(argument);
      continue;
    }
    if (seen) {
      *error = "--lang is given twice";
      return false;
    }
    if (value.empty() || value[0] == '-') {
      *error = "--lang needs a language, e.g. --lang de";
      return false;
    }
    seen = true;
    language = value;
  }
  if (seen && setenv("UNITS_LANG", language.c_str(), 1) != 0) {
    *error = "cannot set UNITS_LANG";
    return false;
  }
  *arguments = std::move(rest);
  return true;
}

}  // namespace tool
}  // namespace units
