#include "level/record_factory.h"

#include "level/zr3error.h"

namespace zr3 {

namespace {

constinit RecordKinds installed{nullptr, nullptr};

const RecordKinds& Installed() {
  if (!installed.read || !installed.make) {
    throw ZR3Error("Cannot make records: the record kinds are not linked into this program");
  }
  return installed;
}

}  // namespace

bool InstallRecordKinds(const RecordKinds& kinds) {
  installed = kinds;
  return true;
}

std::unique_ptr<ZR3Base> ReadRecord(Category category, ByteReader& in) {
  return Installed().read(category, in);
}

std::unique_ptr<ZR3Base> NewRecord(Category category) {
  return Installed().make(category);
}

}  // namespace zr3
