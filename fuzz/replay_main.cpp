// Runs a fuzz target's entry point over every file of the folders (or the files) named on the
// command line, as a plain program: the seed corpus and every input that once broke a property
// become regression tests of the normal build. A property that breaks aborts with its message.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

std::vector<std::filesystem::path> inputsOf(const std::filesystem::path& path) {
  std::vector<std::filesystem::path> out;
  if (std::filesystem::is_directory(path)) {
    for (const auto& entry : std::filesystem::directory_iterator(path)) {
      if (entry.is_regular_file()) out.push_back(entry.path());
    }
    std::sort(out.begin(), out.end());  // the same order on every machine
  } else if (std::filesystem::is_regular_file(path)) {
    out.push_back(path);
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  std::size_t replayed = 0;
  for (int i = 1; i < argc; ++i) {
    const auto inputs = inputsOf(argv[i]);
    if (inputs.empty()) {
      // A missing or empty corpus would make this test pass without testing anything.
      std::fprintf(stderr, "replay: no input in %s\n", argv[i]);
      return 1;
    }
    for (const auto& input : inputs) {
      std::ifstream file(input, std::ios::binary);
      const std::string bytes{std::istreambuf_iterator<char>(file),
                              std::istreambuf_iterator<char>()};
      if (!file.good() && !file.eof()) {
        std::fprintf(stderr, "replay: cannot read %s\n", input.c_str());
        return 1;
      }
      LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
      ++replayed;
    }
  }
  if (replayed == 0) {
    std::fprintf(stderr, "usage: %s CORPUS_FOLDER_OR_FILE...\n", argv[0]);
    return 1;
  }
  std::printf("replayed %zu inputs\n", replayed);
  return 0;
}
