#include "protocol/catalogue.h"

#include <algorithm>

namespace korvane {

namespace {
// The row whose column equals the key; nullptr when there is none.
template <typename Table, typename Key, typename Column>
auto* findRow(const Table& table, const Key& key, Column column) {
  const auto it = std::ranges::find(table, key, column);
  return it == table.end() ? nullptr : &*it;
}
}  // namespace

const Setting* settingByKind(int replyKind) {
  return findRow(kSettings, replyKind, &Setting::replyKind);
}

const Setting* settingByField(int text1Index) {
  return findRow(kSettings, text1Index, &Setting::field);
}

const SetRow* setRowByIndex(int command6Index) {
  return findRow(kSetRows, command6Index, &SetRow::index);
}

const SetRow* setRowByField(int text1Index) {
  return findRow(kSetRows, text1Index, &SetRow::field);
}

std::array<const Setting*, kReadAllOrder.size()> readAllSequence() {
  std::array<const Setting*, kReadAllOrder.size()> out{};
  std::ranges::transform(kReadAllOrder, out.begin(), settingByKind);
  return out;
}

}  // namespace korvane
