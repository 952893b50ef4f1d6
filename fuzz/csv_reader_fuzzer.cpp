// The reader of recorded readings. The input is a file's bytes, read whole; when it reads, every
// code is a signed code its row's six hex digits can give, and the rows written again from it
// read back the same.

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "fuzz_check.h"
#include "records/csv_format.h"
#include "records/csv_reader.h"

namespace korvane {
namespace {

void Run(const std::string& bytes) {
  std::istringstream file(bytes);
  Recording recording;
  if (!ReadRecording(file, bytes.size(), "input", recording).empty()) return;
  Check(!recording.codes.empty(), "a file that reads holds readings");
  std::string text = CsvHeader(SettingLines(recording.settings)) +
                     CsvColumnRow(recording.settings.temperature) + "\n";
  std::int64_t index = recording.first_index;
  for (const std::int32_t code : recording.codes) {
    Check(code == SignedFromRaw(code & 0xFFFFFF, recording.settings.bipolar),
          "every code is a signed code of its polarity");
    AppendCsvRow(text, index++, code & 0xFFFFFF, recording.settings);
  }
  std::istringstream again(text);
  Recording reread;
  Check(ReadRecording(again, text.size(), "again", reread).empty(), "written rows read back");
  Check(reread.codes == recording.codes, "written rows read back the same codes");
}

}  // namespace
}  // namespace korvane

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  korvane::Run(std::string(reinterpret_cast<const char*>(data), size));
  return 0;
}
