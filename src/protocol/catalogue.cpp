#include "protocol/catalogue.h"

#include <algorithm>

namespace korvane {

namespace {
template <typename Table, typename Pred>
auto* findRow(const Table& table, Pred pred) {
  auto it = std::find_if(table.begin(), table.end(), pred);
  return it == table.end() ? nullptr : &*it;
}
}  // namespace

const Setting* settingByKind(int replyKind) {
  return findRow(kSettings, [&](const Setting& s) { return s.replyKind == replyKind; });
}

const Setting* settingByField(int text1Index) {
  return findRow(kSettings, [&](const Setting& s) { return s.field == text1Index; });
}

const Setting* settingByReadButton(int command5Index) {
  if (command5Index < 0) return nullptr;
  return findRow(kSettings, [&](const Setting& s) { return s.readButton == command5Index; });
}

const SetRow* setRowByIndex(int command6Index) {
  return findRow(kSetRows, [&](const SetRow& r) { return r.index == command6Index; });
}

std::array<const Setting*, kReadAllOrder.size()> readAllSequence() {
  std::array<const Setting*, kReadAllOrder.size()> out{};
  std::transform(kReadAllOrder.begin(), kReadAllOrder.end(), out.begin(), settingByKind);
  return out;
}

}  // namespace korvane
