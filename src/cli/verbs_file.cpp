// Verbs over data files: dump and convert (the text form included).
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
  CliApp cli(inv);
  LoadedFile f;
  if (!LoadOrReport(cli.app, a.positional()[0], f)) return 1;
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
  CliApp cli(inv);  // the text form's checks need the model table
  LoadedFile f;
  if (!LoadOrReport(cli.app, a.positional()[0], f)) return 1;
  return SaveOrReport(cli.app, a.positional()[1], f.image, f.spare, f.imageVerMajor) ? 0 : 1;
}

const VerbRegistrar kDump{
    {"dump", "dump FILE", "the 1024-byte image as 64 rows of 16 hex bytes", Dump}};
const VerbRegistrar kConvert{
    {"convert", "convert IN OUT",
     "rewrite a data file (.q83, .z410 or the text form .toml) in the format OUT's name ends "
     "in: .z410 the legacy format, .toml the text form, else .q83",
     Convert}};

}  // namespace
}  // namespace qm::cli
