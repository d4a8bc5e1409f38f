#include "check/check_scheme.h"

#include <algorithm>

namespace hoshizora {
namespace {

constexpr const char* kSection = "Check";

int Bounded(SettingsStore& store, const char* key, int default_value, int maximum) {
  return std::clamp(static_cast<int>(store.ReadInt(kSection, key, default_value)), 0, maximum);
}

}  // namespace

CheckScheme ReadCheckScheme(SettingsStore& store) {
  const CheckScheme defaults;
  CheckScheme scheme;
  scheme.substitution = Bounded(store, "Substitution", defaults.substitution, kMaxDeduction);
  scheme.omission = Bounded(store, "Omission", defaults.omission, kMaxDeduction);
  scheme.insertion = Bounded(store, "Insertion", defaults.insertion, kMaxDeduction);
  scheme.pass_mark = Bounded(store, "PassMark", defaults.pass_mark, kMaxPassMark);
  return scheme;
}

}  // namespace hoshizora
