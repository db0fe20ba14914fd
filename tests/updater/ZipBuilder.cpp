#include "ZipBuilder.h"

TZipImage BuildZipImage(const std::vector<TZipSpec>& Entries, const std::string& Comment) {
  TZipWriter writer;
  for (const auto& e : Entries) {
    TZipRecord r;
    r.Name = e.Name;
    r.LocalName = e.LocalName.value_or(std::string());
    r.Packed = e.Method == 8 ? RawDeflate(e.Data) : e.Data;
    r.Method = e.Method;
    r.Flags = e.Flags;
    r.MadeBy = e.MadeBy;
    r.DosTime = e.DosTime;
    r.DosDate = e.DosDate;
    r.Crc32 = e.Crc.value_or(Crc32Of(e.Data));
    r.UncompressedSize = e.UncompressedSize.value_or(static_cast<std::uint32_t>(e.Data.size()));
    r.External = e.External;
    writer.Add(r);
  }
  TZipImage image;
  image.Bytes = writer.Finish(Comment);
  image.LocalOffsets = writer.LocalOffsets();
  image.CentralOffsets = writer.CentralOffsets();
  image.DirectoryOffset = writer.DirectoryOffset();
  image.EndOffset = writer.EndOffset();
  return image;
}
