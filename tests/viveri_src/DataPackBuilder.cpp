// The tests' pack writer: the table first, records after it in insertion order.
#include "DataPackBuilder.h"

namespace {

void appendUint32(Bytes &out, unsigned int value) {
  for (int i = 0; i < 4; i++)
    out.push_back((unsigned char)((value >> (8 * i)) & 255));
}

}  // namespace

void DataPackBuilder::add(const std::string &name, const Bytes &data) {
  entries.emplace_back(name, data);
}

Bytes DataPackBuilder::build() const {
  unsigned int tableSize = 8;
  for (const auto &entry : entries)
    tableSize += 8 + (unsigned int)entry.first.size();
  Bytes out = {'V', 'D', 'P', 'K'};
  appendUint32(out, (unsigned int)entries.size());
  unsigned int offset = tableSize;
  for (const auto &entry : entries) {
    appendUint32(out, (unsigned int)entry.first.size());
    out.insert(out.end(), entry.first.begin(), entry.first.end());
    appendUint32(out, offset);
    offset += 4 + (unsigned int)entry.second.size();
  }
  for (const auto &entry : entries) {
    appendUint32(out, (unsigned int)entry.second.size());
    out.insert(out.end(), entry.second.begin(), entry.second.end());
  }
  return out;
}
