#include "level/zr3level.h"

#include <algorithm>
#include <system_error>
#include <thread>

#include "level/bytes.h"
#include "level/field_access.h"
#include "level/field_record.h"
#include "level/field_visitors.h"
#include "level/file_source.h"
#include "level/parallel.h"
#include "level/record_factory.h"
#include "level/safefile.h"
#include "level/zr3error.h"

namespace zr3 {

namespace {

constexpr std::string_view kSeparator = "--------------------";
// Fewer scripts than this link sooner on one thread than another thread starts.
constexpr std::size_t kScriptsPerLinkPart = 1024;

// Decodes the cells of the maps on a thread of its own while the later sections are read,
// and ends with the reading, however that ends. A map decodes its cells itself on first use
// when no thread does it first.
class MapCellDecoder {
 public:
  MapCellDecoder() = default;
  MapCellDecoder(const MapCellDecoder&) = delete;
  MapCellDecoder& operator=(const MapCellDecoder&) = delete;
  ~MapCellDecoder() {
    if (thread_.joinable()) thread_.join();
  }

  // The list must not change until the decoder ends.
  void Start(const RecordList& maps) {
    if (maps.size() < kMapsWorthAThread) return;
    try {
      thread_ = std::thread([&maps] {
        for (const std::unique_ptr<ZR3Base>& map : maps) {
          try {
            map->DecodeDeferred();
          } catch (...) {
            // Left undecoded: its first use decodes it and meets the failure there.
          }
        }
      });
    } catch (const std::system_error&) {
      // No thread to be had: each map decodes its cells on first use.
    }
  }

 private:
  // A map decodes in about a tenth of a millisecond; a thread takes a twentieth to start.
  static constexpr std::size_t kMapsWorthAThread = 4;
  std::thread thread_;
};

void Show(ZR3Progress* progress, const std::string& text) {
  if (progress) progress->ShowStatus(text);
}

// Every kind but the fixed tables and texts takes part in the record chain.
bool IsChainCategory(Category category) {
  return !IsFixedTable(category) && category != Category::Texts;
}

}  // namespace

ZR3Level::ZR3Level() = default;

// Records refer to each other without owning; destroying the lists in any order is safe.
ZR3Level::~ZR3Level() = default;

void ZR3Level::Load(const std::string& path, ZR3Progress* progress) {
  loaded_ = false;
  Show(progress, "Opening file...");
  fileName_ = path;
  std::unique_ptr<FileSource> file;
  try {
    file = std::make_unique<FileSource>(path);
  } catch (...) {
    Show(progress, "");
    throw;
  }
  ByteReader in(*file);
  ReadAndLink(in, progress);
}

void ZR3Level::LoadFromBytes(std::string_view bytes, ZR3Progress* progress) {
  ByteReader in(bytes);
  ReadAndLink(in, progress);
}

void ZR3Level::ReadAndLink(ByteReader& in, ZR3Progress* progress) {
  loaded_ = false;
  modified_ = false;
  try {
    ReadSections(in, progress);
    lastFileSize_ = in.Offset();
    Show(progress, "Setting links...");
    LinkAll();
  } catch (...) {
    Show(progress, "");
    throw;
  }
  Show(progress, "");
  loaded_ = true;
}

void ZR3Level::ReadSections(ByteReader& in, ZR3Progress* progress) {
  MapCellDecoder mapCells;
  for (RecordList& list : lists_) list.clear();
  info_ = ZR3LevelInfo{};
  opaque_.fill(0);

  const std::string_view head = in.Peek(kHeader.size());
  if (head != kHeader) {
    header_ = std::string(head.substr(0, head.find('\0')));
    throw ZR3Error("Not a ZR3 File");
  }
  header_ = std::string(kHeader);
  in.Skip(kHeader.size());

  for (Category category : kFileOrder) {
    if (category == Category::Graphics) {
      Show(progress, "Loading Level Info...");
      in.SetSection("Level Info");
      ReadInfo(in);
    }
    if (category == Category::Lists) {
      in.SetSection("Reserved Block");
      in.Bytes(opaque_.data(), opaque_.size());
    }
    const CategoryInfo& about = InfoOf(category);
    Show(progress, std::string(about.loadingMessage));
    in.SetSection(std::string(about.sectionName));
    const std::size_t count = IsFixedTable(category) ? FixedTableSize(category) : in.U16();
    RecordList& list = List(category);
    // The count is not trusted: records are added as they are read, so a file that claims
    // more than it holds fails at its end without reserving memory for the claim.
    for (std::size_t i = 0; i < count; ++i) {
      std::unique_ptr<ZR3Base> record = ReadRecord(category, in);
      if (!record) {
        throw ZR3Error("Cannot load " + std::string(about.sectionName) +
                       ": this kind of record is not supported");
      }
      record->SetLoadPosition(static_cast<std::uint16_t>(i));
      record->SetPosition(static_cast<int>(i));
      list.push_back(std::move(record));
    }
    if (category == Category::Maps) mapCells.Start(list);
  }
}

void ZR3Level::ReadInfo(ByteReader& in) {
  FieldReader read(in);
  ZR3LevelInfo::Fields(info_, read);
}

void ZR3Level::WriteInfo(ByteWriter& out) {
  FieldWriter write(out, nullptr);
  ZR3LevelInfo::Fields(info_, write);
}

void ZR3Level::LinkAll(ZR3Progress*) {
  IndexScope scope(*this);
  for (Category category : kLinkOrder) {
    const RecordList& list = List(category);
    if (IsScriptCategory(category)) {
      // A script's link reads the lists and writes only the script itself, and never fails;
      // scripts are most of a large level, so their links share the processor's cores.
      ParallelParts(list.size(), kScriptsPerLinkPart, [&](std::size_t first, std::size_t last) {
        for (std::size_t i = first; i < last; ++i) list[i]->Link(*this);
      });
      continue;
    }
    for (const std::unique_ptr<ZR3Base>& record : list) record->Link(*this);
  }
  LinkInfo();
}

void ZR3Level::LinkInfo() {
  IndexScope scope(*this);
  FieldLinker link(*this, false);
  ZR3LevelInfo::Fields(info_, link);
}

void ZR3Level::CheckSavable() const {
  for (Category category : kFileOrder) {
    const std::size_t count = List(category).size();
    if (IsFixedTable(category) ? count != FixedTableSize(category) : count > kMaxRecords) {
      throw ZR3Error("Cannot save: " + std::string(InfoOf(category).sectionName) + " holds " +
                     std::to_string(count) + " records, the file holds " +
                     (IsFixedTable(category) ? "exactly " + std::to_string(FixedTableSize(category))
                                             : "at most " + std::to_string(kMaxRecords)));
    }
  }
}

void ZR3Level::AssignSaveIdentifiers() {
  std::vector<std::uint32_t> kept;
  for (const RecordList& list : lists_) {
    for (const std::unique_ptr<ZR3Base>& record : list) record->CollectKeptIdentifiers(kept);
  }
  KeptIdentifiers keptByInfo(kept);
  ZR3LevelInfo::Fields(info_, keptByInfo);
  std::sort(kept.begin(), kept.end());
  kept.erase(std::unique(kept.begin(), kept.end()), kept.end());

  // A running number from 1 that skips every identifier written back unchanged, so that a
  // reload cannot attach an unresolved reference to a record.
  std::uint32_t next = 1;
  auto skip = kept.begin();
  for (std::size_t c = 0; c < kCategoryCount; ++c) {
    if (!IsChainCategory(static_cast<Category>(c))) continue;
    for (const std::unique_ptr<ZR3Base>& record : lists_[c]) {
      while (skip != kept.end() && *skip < next) ++skip;
      while (skip != kept.end() && *skip == next) {
        ++next;
        ++skip;
      }
      static_cast<ZR3ChainRecord*>(record.get())->SetSaveId(next++);
    }
  }
}

std::string ZR3Level::SaveToBytes() {
  CheckSavable();
  ByteWriter out;
  // The size of the file last read or written is a close guess: no regrowing of the buffer.
  out.Reserve(lastFileSize_);
  WriteFile(out);
  return out.Release();
}

void ZR3Level::WriteFile(ByteWriter& out) {
  AssignSaveIdentifiers();
  out.FixedText(kHeader, kHeader.size());
  for (Category category : kFileOrder) {
    if (category == Category::Graphics) WriteInfo(out);
    if (category == Category::Lists) out.Array(opaque_);
    RecordList& list = List(category);
    if (!IsFixedTable(category)) out.U16(static_cast<std::uint16_t>(list.size()));
    for (const std::unique_ptr<ZR3Base>& record : list) {
      record->Write(out);
      out.FlushIfFull();
    }
  }
  lastFileSize_ = out.Size();
}

void ZR3Level::Save(const std::string& path) {
  const std::string target = path.empty() ? fileName_ : path;
  try {
    // Refused before any file is made; a record that cannot be written stops the write and
    // leaves the existing file as it was.
    CheckSavable();
    WriteFileAtomically(target, [this](ByteWriter& out) { WriteFile(out); });
  } catch (...) {
    modified_ = true;
    throw;
  }
  fileName_ = target;
  modified_ = false;
}

void ZR3Level::FinishBuilt() {
  header_ = std::string(kHeader);
  loaded_ = true;
  modified_ = true;
}

void ZR3Level::DescribeInfo(Lines& lines) const {
  lines.push_back("Header: " + header_);
  const auto& first = ZR3LevelInfo::kDescribedFirst;
  for (const std::string_view name : first) {
    PickedFieldDescriber describe(lines, [name](std::string_view field) { return field == name; });
    ZR3LevelInfo::Fields(info_, describe);
  }
  const RecordList& custom = List(Category::CustomText);
  for (std::size_t i = 0; i < kCustomTextCount; ++i) {
    lines.push_back(std::string(kCustomTextLabels[i]) + ": " +
                    (i < custom.size() ? custom[i]->Name() : std::string()));
  }
  PickedFieldDescriber describeRest(lines, [&first](std::string_view field) {
    return std::find(first.begin(), first.end(), field) == first.end();
  });
  ZR3LevelInfo::Fields(info_, describeRest);
}

FieldList ZR3LevelInfo::Fields() const {
  FieldList fields;
  FieldLister list(fields);
  Fields(*this, list);
  return fields;
}

void ZR3LevelInfo::SetField(ZR3Level& level, std::string_view path, std::string_view value) {
  SetFieldOf(*this, level, path, value);
}

void ZR3Level::WriteLevelText(ByteWriter& out) const {
  EachLevelTextPart([&out](const Lines& lines) { WriteLinesCrLf(lines, out); });
}

void ZR3Level::EachLevelTextPart(const std::function<void(const Lines&)>& each) const {
  Lines lines;
  auto flush = [&] {
    each(lines);
    lines.clear();
  };
  DescribeInfo(lines);
  lines.emplace_back(kSeparator);
  flush();

  auto records = [&](Category category) {
    const std::string heading(InfoOf(category).exportHeading);
    const RecordList& list = List(category);
    for (std::size_t i = 0; i < list.size(); ++i) {
      lines.push_back(heading + std::to_string(i));
      list[i]->Describe(lines);
      lines.emplace_back(kSeparator);
      flush();
    }
  };
  auto numbered = [&](Category category, const char* heading) {
    lines.emplace_back(heading);
    const RecordList& list = List(category);
    for (std::size_t i = 0; i < list.size(); ++i) {
      lines.push_back(std::to_string(i) + ": " + list[i]->Name());
    }
    lines.emplace_back(kSeparator);
    flush();
  };

  for (Category category : kFileOrder) {
    switch (category) {
      case Category::Flags:
        numbered(category, "FLAGS");
        break;
      case Category::Groups:
        numbered(category, "GROUPS");
        break;
      case Category::CustomText:
        lines.emplace_back("CUSTOM TEXT");
        for (const std::unique_ptr<ZR3Base>& entry : List(category)) entry->Describe(lines);
        lines.emplace_back(kSeparator);
        flush();
        break;
      default:
        records(category);
    }
  }
}

std::string ZR3Level::LevelText() const {
  ByteWriter out;
  WriteLevelText(out);
  return out.Release();
}

void ZR3Level::ExportLevelText(const std::string& path) const {
  if (path.empty()) throw ZR3Error("No file name given for the export");
  WriteFileAtomically(path, [this](ByteWriter& out) { WriteLevelText(out); });
}

int ZR3Level::FindByName(std::string_view name, Category category) const {
  const RecordList& list = List(category);
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (list[i]->Name() == name) return static_cast<int>(i);
  }
  return -1;
}

ZR3Level::IndexScope::IndexScope(const ZR3Level& level)
    : level_(level), outermost_(level.indexScopes_ == 0) {
  ++level_.indexScopes_;
}

ZR3Level::IndexScope::~IndexScope() {
  --level_.indexScopes_;
  if (outermost_) {
    for (auto& index : level_.idIndexes_) index.reset();
  }
}

const ZR3Level::IdIndex& ZR3Level::IndexFor(Category category) const {
  std::optional<IdIndex>& index = idIndexes_[IndexOf(category)];
  if (!index) {
    const RecordList& list = List(category);
    index.emplace(list.size());
    for (std::size_t i = 0; i < list.size(); ++i) {
      const std::uint32_t id = static_cast<const ZR3ChainRecord&>(*list[i]).StoredId();
      const auto at = static_cast<std::uint32_t>(i);
      auto [span, inserted] = index->TryEmplace(id, IdSpan{at, at});
      if (!inserted) span->last = at;
    }
  }
  return *index;
}

ZR3ChainRecord* ZR3Level::FindFirstById(Category category, std::uint32_t id) const {
  const RecordList& list = List(category);
  if (indexScopes_ > 0) {
    const IdSpan* span = IndexFor(category).Find(id);
    return span ? static_cast<ZR3ChainRecord*>(list[span->first].get()) : nullptr;
  }
  for (const std::unique_ptr<ZR3Base>& record : list) {
    auto* chain = static_cast<ZR3ChainRecord*>(record.get());
    if (chain->StoredId() == id) return chain;
  }
  return nullptr;
}

ZR3ChainRecord* ZR3Level::FindLastById(Category category, std::uint32_t id) const {
  const RecordList& list = List(category);
  if (indexScopes_ > 0) {
    const IdSpan* span = IndexFor(category).Find(id);
    return span ? static_cast<ZR3ChainRecord*>(list[span->last].get()) : nullptr;
  }
  for (auto it = list.rbegin(); it != list.rend(); ++it) {
    auto* chain = static_cast<ZR3ChainRecord*>(it->get());
    if (chain->StoredId() == id) return chain;
  }
  return nullptr;
}

ZR3Base* ZR3Level::AtPosition(Category category, int index) const {
  ZR3Base* record = RecordAt(category, index);
  if (!record && index >= 0) {
    throw ZR3Error("List index out of bounds (" + std::to_string(index) + ")");
  }
  return record;
}

ZR3Base& RecordOf(const ZR3Level& level, Category category, long long index) {
  const RecordList& list = level.List(category);
  if (index < 0 || static_cast<unsigned long long>(index) >= list.size()) {
    throw ZR3Error("No record " + std::to_string(index) + " in " +
                   std::string(InfoOf(category).commandName) + " (it holds " +
                   std::to_string(list.size()) + ")");
  }
  return *list[static_cast<std::size_t>(index)];
}

void ZR3Level::Renumber(Category category, std::size_t first, std::size_t last) {
  RecordList& list = List(category);
  for (std::size_t i = first; i < list.size(); ++i) list[i]->SetPosition(static_cast<int>(i));
  for (std::size_t i = first; i <= last && i < list.size(); ++i) list[i]->LinkNeighbours(*this);
}

}  // namespace zr3
