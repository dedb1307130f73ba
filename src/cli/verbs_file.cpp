// Verbs over data files: dump and convert.
#include <cstdio>
#include <iostream>

#include "base/tr.h"
#include "cli/args.h"
#include "cli/context.h"
#include "cli/verbs.h"
#include "files/data_file.h"
#include "platform/translation.h"

namespace qm::cli {

namespace {

int Dump(const Invocation& inv) {
  Args a(inv.args, {}, {});
  if (!a.ok() || a.positional().size() != 1) return Usage("dump FILE");
  LoadedFile f;
  if (!LoadOrReport(a.positional()[0], f)) return 1;
  for (size_t row = 0; row < kImageSize / kRowSize; ++row) {
    std::printf("%03zX:", row * kRowSize);
    for (size_t c = 0; c < kRowSize; ++c) std::printf(" %02X", f.image[row * kRowSize + c]);
    std::printf("\n");
  }
  return 0;
}

int Convert(const Invocation& inv) {
  Args a(inv.args, {}, {});
  if (!a.ok() || a.positional().size() != 2) return Usage("convert IN OUT");
  LoadedFile f;
  if (!LoadOrReport(a.positional()[0], f)) return 1;
  return SaveOrReport(a.positional()[1], f.image, f.spare) ? 0 : 1;
}

const VerbRegistrar kDump{
    {"dump", "dump FILE", "the 1024-byte image as 64 rows of 16 hex bytes", Dump}};
const VerbRegistrar kConvert{
    {"convert", "convert IN OUT",
     "rewrite a data file; an OUT name ending in .z410 writes the legacy format", Convert}};

}  // namespace
}  // namespace qm::cli
