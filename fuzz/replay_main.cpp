// Runs a fuzz target over every file of the folders (or the files) named on the command line, as a
// plain program: the seed corpus and every input that once broke a property are regression tests
// of the normal build. A property that breaks aborts with its message.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
  std::vector<std::filesystem::path> inputs(argv + 1, argv + argc);
  for (int i = 1; i < argc; ++i) {
    std::error_code notAFolder;
    inputs.insert(inputs.end(), std::filesystem::directory_iterator(argv[i], notAFolder), {});
  }
  std::erase_if(inputs, [](const auto& path) { return !std::filesystem::is_regular_file(path); });
  std::sort(inputs.begin(), inputs.end());  // the same order on every machine
  for (const auto& input : inputs) {
    std::ifstream file(input, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(file), {}};
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  }
  std::printf("replayed %zu inputs\n", inputs.size());
  return inputs.empty() ? 1 : 0;  // an empty or missing corpus would test nothing
}
