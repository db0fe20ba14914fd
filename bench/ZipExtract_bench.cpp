// Extraction throughput of the updater's archive reader against Info-ZIP unzip, natively,
// on one generated archive of about 50 MB of mixed files, both in the same run.
//   ZipExtract_bench [work directory]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "ZipArchive.h"
#include "ZipBuilder.h"
#include "ZipEntryCheck.h"
#include "ZipInflate.h"

namespace fs = std::filesystem;

namespace {

std::string TextLike(std::mt19937& rng, std::size_t Size) {
  static const char* words[] = {"kelvara ", "update ", "sidebar ", "weather ", "widget ", "renewa ", "\r\n",
                                "0.5.1 ", "<png> ", "config=1 ", "zh_CN ", "proxy "};
  std::string s;
  s.reserve(Size + 16);
  while (s.size() < Size) s += words[rng() % 12];
  s.resize(Size);
  return s;
}

std::string Random(std::mt19937& rng, std::size_t Size) {
  std::string s(Size, '\0');
  for (auto& c : s) c = static_cast<char>(rng());
  return s;
}

std::vector<TZipSpec> MixedFiles() {
  std::mt19937 rng(42);
  std::vector<TZipSpec> files;
  for (int i = 0; i < 7; ++i)  // programs and libraries: barely compressible
    files.push_back({.Name = "Bin/module" + std::to_string(i) + ".dll", .Data = Random(rng, 4 << 20), .Method = 8});
  for (int i = 0; i < 4; ++i)  // images stored as they are
    files.push_back({.Name = "Skin/big" + std::to_string(i) + ".png", .Data = Random(rng, 3 << 20), .Method = 0});
  for (int i = 0; i < 8; ++i)  // texts: compress well
    files.push_back({.Name = "Docs/text" + std::to_string(i) + ".txt", .Data = TextLike(rng, 4 << 20)});
  for (int i = 0; i < 1500; ++i)  // many small files in nested folders
    files.push_back({.Name = "Widgets/W" + std::to_string(i % 30) + "/Images/i" + std::to_string(i) + ".png",
                     .Data = (i % 2 ? TextLike(rng, 3000 + i) : Random(rng, 2000 + i)), .Method = static_cast<std::uint16_t>(i % 3 ? 8 : 0)});
  return files;
}

class TOfstreamSink final : public IZipSink {
 public:
  explicit TOfstreamSink(const fs::path& Path) : FOut(Path, std::ios::binary | std::ios::trunc) {}
  void Write(const std::uint8_t* Data, std::size_t Size) override {
    FOut.write(reinterpret_cast<const char*>(Data), static_cast<std::streamsize>(Size));
    if (!FOut) throw std::runtime_error("write failed");
  }

 private:
  std::ofstream FOut;
};

std::vector<std::uint8_t> ReadAll(const fs::path& Path) {
  std::ifstream in(Path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Reads the archive from disk, checks it, and writes every entry below Dest.
void ExtractWithReader(const fs::path& Zip, const fs::path& Dest, bool DryRunFirst) {
  const auto bytes = ReadAll(Zip);
  const TZipArchive archive(bytes);
  if (DryRunFirst) VerifyArchive(archive);
  for (const auto& entry : archive.Entries()) {
    std::wstring name = NormalizeEntryName(entry.Name);
    for (auto& c : name)
      if (c == L'\\') c = L'/';
    const fs::path target = Dest / fs::path(name);
    if (entry.IsDirectory) {
      fs::create_directories(target);
      continue;
    }
    fs::create_directories(target.parent_path());
    TOfstreamSink sink(target);
    InflateEntry(archive, entry, sink);
  }
}

template <class F>
double Seconds(F&& Run) {
  const auto start = std::chrono::steady_clock::now();
  Run();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> Values) {
  std::sort(Values.begin(), Values.end());
  return Values[Values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  // Memory-backed by default, so the disk's write-back does not decide the figure.
  const fs::path work = argc > 1                       ? fs::path(argv[1])
                        : fs::is_directory("/dev/shm") ? fs::path("/dev/shm/orvo-zip-bench")
                                                       : fs::temp_directory_path() / "orvo-zip-bench";
  fs::remove_all(work);
  fs::create_directories(work);
  const fs::path zip = work / "Update.zip";
  const auto files = MixedFiles();
  {
    const std::string bytes = BuildZip(files);
    std::ofstream(zip, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  std::uint64_t total = 0;
  for (const auto& f : files) total += f.Data.size();
  const double archiveMb = static_cast<double>(fs::file_size(zip)) / 1e6;
  const double dataMb = static_cast<double>(total) / 1e6;

  // The three ways run in turn, so a busy moment of the machine hits all of them alike.
  const int runs = 5;
  const fs::path ours = work / "reader";
  const fs::path theirs = work / "unzip";
  const std::string command = "unzip -o -qq '" + zip.string() + "' -d '" + theirs.string() + "'";
  std::vector<double> readerTimes, checkedTimes, unzipTimes;
  for (int i = 0; i < runs; ++i) {
    fs::remove_all(ours);
    readerTimes.push_back(Seconds([&] { ExtractWithReader(zip, ours, false); }));
    fs::remove_all(ours);
    checkedTimes.push_back(Seconds([&] { ExtractWithReader(zip, ours, true); }));
    fs::remove_all(theirs);
    unzipTimes.push_back(Seconds([&] {
      if (std::system(command.c_str()) != 0) throw std::runtime_error("unzip failed");
    }));
  }
  const double reader = Median(readerTimes), checked = Median(checkedTimes), unzip = Median(unzipTimes);

  std::printf("archive %.1f MB, %zu entries, %.1f MB of data; median of %d runs\n", archiveMb, files.size(), dataMb,
              runs);
  std::printf("reader (read, inflate, CRC, write):     %6.3f s  %7.1f MB/s\n", reader, dataMb / reader);
  std::printf("reader with the dry run before writing: %6.3f s  %7.1f MB/s\n", checked, dataMb / checked);
  std::printf("unzip -o -qq:                           %6.3f s  %7.1f MB/s\n", unzip, dataMb / unzip);
  std::printf("throughput ratio reader/unzip: %.2f (with dry run %.2f)\n", unzip / reader, unzip / checked);
  fs::remove_all(work);
  return 0;
}
