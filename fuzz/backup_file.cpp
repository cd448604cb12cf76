// The backup file. Any bytes parse or are refused without harm; what parses holds only values in
// the form the controller reports them, is written again and reads the same; and thirty values of
// any bytes that each pass the value check come back exactly from the text we write.

#include "backup/backup_file.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <variant>

#include "fuzz/fuzz_support.h"
#include "protocol/utf8.h"
#include "settings/reported_form.h"

namespace {

using korvane::BackupFile;

bool hasControl(std::string_view text) {
  return std::ranges::any_of(text, [](unsigned char c) { return c < 0x20 || c == 0x7F; });
}
bool isUtf8(std::string_view text) {
  return korvane::ValidUtf8(text) == text;
}

void checkComesBack(const BackupFile& file) {
  const std::string text = korvane::Format_Backup(file);
  const auto again = korvane::Parse_Backup(text);
  FUZZ_CHECK(std::holds_alternative<BackupFile>(again), text);
  FUZZ_CHECK(std::get<BackupFile>(again) == file, text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view whole(reinterpret_cast<const char*>(data), size);
  const auto parsed = korvane::Parse_Backup(whole);
  if (const auto* file = std::get_if<BackupFile>(&parsed)) {
    for (std::size_t i = 0; i < file->values.size(); ++i) {
      FUZZ_CHECK(!korvane::BackupValueProblem(i, file->values[i]), file->values[i]);
      // Whatever it restores is a value a controller could have reported.
      const korvane::SetRow* row = korvane::setRowByField(korvane::backupSetting(i).field);
      FUZZ_CHECK(!row || !korvane::ReportedFormProblem(row->reported, file->values[i]),
                 file->values[i]);
    }
    checkComesBack(*file);
  } else {
    const auto& error = std::get<korvane::BackupFileError>(parsed);
    FUZZ_CHECK(error.line >= 0 && !error.message.empty(), whole);
  }

  // Values as a read gives them (UTF-8, replies never hold a line end) that pass the check.
  korvane::fuzz::ByteReader in(data, size);
  BackupFile built;
  bool storable = true;
  for (std::string* field :
       {&built.header.toolVersion, &built.header.created, &built.header.port}) {
    *field = in.text();
    storable = storable && !hasControl(*field) && isUtf8(*field);
  }
  for (std::size_t i = 0; i < built.values.size(); ++i) {
    built.values[i] = in.text();
    storable =
        storable && isUtf8(built.values[i]) && !korvane::BackupValueProblem(i, built.values[i]);
  }
  if (storable) checkComesBack(built);
  return 0;
}
