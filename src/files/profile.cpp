#include "files/profile.h"

#include <optional>
#include <vector>

#include "base/text_util.h"
#include "files/file_io.h"

namespace qm {

namespace {

// Configuration files are a few kilobytes; anything far larger is not one, and is neither
// parsed nor rewritten.
constexpr size_t kMaxProfileBytes = size_t{4} << 20;

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

enum class Encoding { Utf8, Utf8Bom, Gbk };

struct RawLine {
  std::string text;  // the line's bytes in the file's encoding, without its line end
  std::string eol;   // "\r\n", "\n" or "" for a last line without one
};

struct ProfileText {
  Encoding encoding = Encoding::Utf8;
  std::vector<RawLine> lines;
};

enum class LineKind { Other, Section, Key };

struct LineInfo {
  LineKind kind = LineKind::Other;
  std::string name;        // section or key name, lower case, trimmed
  std::string_view value;  // raw value text of a key line (into the decoded line)
};

bool IsAscii(std::string_view s) {
  for (char c : s)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

// Spaces, tabs and stray carriage returns around names and values. A carriage return
// before the end of a line must not count: adding a line end after a last line that ends
// in one would otherwise change that line's value.
std::string_view TrimLine(std::string_view s) {
  constexpr std::string_view kBlank = " \t\r";
  size_t b = s.find_first_not_of(kBlank);
  if (b == std::string_view::npos) return {};
  return s.substr(b, s.find_last_not_of(kBlank) - b + 1);
}

std::string Lower(std::string_view s) { return ToLowerAscii(TrimLine(s)); }

LineInfo Classify(std::string_view line) {
  LineInfo info;
  std::string_view t = TrimLine(line);
  if (t.empty() || t.front() == ';') return info;
  if (t.front() == '[') {
    size_t close = t.find(']');
    if (close == std::string_view::npos) return info;
    info.kind = LineKind::Section;
    info.name = Lower(t.substr(1, close - 1));
    return info;
  }
  size_t eq = t.find('=');
  if (eq == std::string_view::npos) return info;
  info.kind = LineKind::Key;
  info.name = Lower(t.substr(0, eq));
  info.value = t.substr(eq + 1);
  return info;
}

// A value as the platform's read returns it: up to a NUL, trimmed, without enclosing
// quotes, at most 254 characters.
std::string FinishValue(std::string_view raw) {
  size_t nul = raw.find('\0');
  if (nul != std::string_view::npos) raw = raw.substr(0, nul);
  raw = TrimLine(raw);
  if (raw.size() >= 2 && (raw.front() == '"' || raw.front() == '\'') && raw.back() == raw.front())
    raw = raw.substr(1, raw.size() - 2);
  return Utf8Left(raw, kProfileValueMax);
}

ProfileText SplitLines(std::string_view content) {
  ProfileText out;
  if (content.substr(0, kUtf8Bom.size()) == kUtf8Bom) {
    out.encoding = Encoding::Utf8Bom;
    content.remove_prefix(kUtf8Bom.size());
  } else {
    out.encoding = IsValidUtf8(content) ? Encoding::Utf8 : Encoding::Gbk;
  }
  size_t pos = 0;
  while (pos < content.size()) {
    size_t nl = content.find('\n', pos);
    RawLine line;
    if (nl == std::string_view::npos) {
      line.text = std::string(content.substr(pos));
      pos = content.size();
    } else {
      size_t end = nl;
      const bool crlf = end > pos && content[end - 1] == '\r';
      if (crlf) --end;
      line.eol = crlf ? "\r\n" : "\n";
      line.text = std::string(content.substr(pos, end - pos));
      pos = nl + 1;
    }
    out.lines.push_back(std::move(line));
  }
  return out;
}

// The line as UTF-8, or nullopt when a GBK line does not decode (it is then kept as it
// stands and never matches anything).
std::optional<std::string> Decode(const ProfileText& text, const RawLine& line,
                                  const TextCodec& codec) {
  if (text.encoding != Encoding::Gbk) return line.text;
  return codec.gbkToUtf8(line.text);
}

std::optional<std::string> Encode(Encoding encoding, std::string_view utf8,
                                  const TextCodec& codec) {
  if (encoding != Encoding::Gbk) {
    if (!IsValidUtf8(utf8)) return std::nullopt;
    return std::string(utf8);
  }
  return codec.utf8ToGbk(utf8);
}

// A name or value must stay on its own line.
std::string_view OneLine(std::string_view s) {
  size_t cut = s.find_first_of(std::string_view("\r\n\0", 3));
  return cut == std::string_view::npos ? s : s.substr(0, cut);
}

std::optional<std::string> LoadContent(const std::string& path, bool* missing) {
  FileBytes f = ReadFileBytes(path, kMaxProfileBytes + 1);
  if (missing) *missing = f.status == ReadStatus::Missing;
  if (f.status != ReadStatus::Ok || f.bytes.size() > kMaxProfileBytes) return std::nullopt;
  return std::string(f.bytes.begin(), f.bytes.end());
}

}  // namespace

std::string ProfileSnapshot::read(std::string_view section, std::string_view key,
                                  std::string_view def) const {
  auto s = sections_.find(Lower(section));
  if (s == sections_.end()) return std::string(def);
  auto k = s->second.find(Lower(key));
  if (k == s->second.end()) return std::string(def);
  return k->second;
}

ProfileSnapshot ProfileFile::snapshot() const {
  ProfileSnapshot snap;
  std::optional<std::string> content = LoadContent(path_, nullptr);
  if (!content) return snap;
  ProfileText text = SplitLines(*content);
  std::unordered_map<std::string, std::string>* current = nullptr;
  for (const RawLine& raw : text.lines) {
    std::optional<std::string> line = Decode(text, raw, *codec_);
    if (!line) continue;
    LineInfo info = Classify(*line);
    if (info.kind == LineKind::Section) {
      // A repeated section adds nothing: lookups stop in the first one of that name.
      auto [it, fresh] = snap.sections_.try_emplace(info.name);
      current = fresh ? &it->second : nullptr;
    } else if (info.kind == LineKind::Key && current) {
      current->try_emplace(info.name, FinishValue(info.value));
    }
  }
  return snap;
}

std::string ProfileFile::read(std::string_view section, std::string_view key,
                              std::string_view def) const {
  return snapshot().read(section, key, def);
}

bool ProfileFile::write(std::string_view section, std::string_view key,
                        std::string_view value) const {
  section = OneLine(TrimSpaces(section));
  key = OneLine(TrimSpaces(key));
  value = OneLine(value);
  // Names that would read back as something else (a comment, a section, another key).
  if (section.empty() || section.find(']') != std::string_view::npos) return false;
  if (key.empty() || key.front() == ';' || key.front() == '[' ||
      key.find('=') != std::string_view::npos)
    return false;

  bool missing = false;
  std::optional<std::string> content = LoadContent(path_, &missing);
  if (!content && !missing) return false;  // unreadable or not a file: leave it alone
  ProfileText text = SplitLines(content ? *content : std::string());
  const std::string eol = (content && content->find("\r\n") != std::string::npos) ? "\r\n" : "\n";

  const std::string wantSection = Lower(section);
  const std::string wantKey = Lower(key);
  std::optional<size_t> sectionLine;
  std::optional<size_t> keyLine;
  size_t lastInSection = 0;  // last non-blank line of the section
  for (size_t i = 0; i < text.lines.size(); ++i) {
    std::optional<std::string> line = Decode(text, text.lines[i], *codec_);
    if (!line) {
      if (sectionLine) lastInSection = i;
      continue;
    }
    LineInfo info = Classify(*line);
    if (info.kind == LineKind::Section) {
      if (sectionLine) break;
      if (info.name == wantSection) {
        sectionLine = i;
        lastInSection = i;
      }
      continue;
    }
    if (!sectionLine) continue;
    if (!TrimLine(*line).empty()) lastInSection = i;
    if (info.kind == LineKind::Key && info.name == wantKey) {
      keyLine = i;
      break;
    }
  }

  std::optional<std::string> encodedValue = Encode(text.encoding, value, *codec_);
  if (!encodedValue) return false;

  if (keyLine) {
    // Keep the key as it is spelled in the file; only the value changes.
    RawLine& line = text.lines[*keyLine];
    size_t eq = line.text.find('=');  // '=' is never part of a GBK double-byte character
    line.text = line.text.substr(0, eq + 1) + *encodedValue;
  } else {
    std::optional<std::string> encodedKey = Encode(text.encoding, key, *codec_);
    if (!encodedKey) return false;
    RawLine keyRaw{*encodedKey + "=" + *encodedValue, eol};
    if (sectionLine) {
      size_t at = lastInSection;
      if (text.lines[at].eol.empty()) text.lines[at].eol = eol;
      text.lines.insert(text.lines.begin() + static_cast<std::ptrdiff_t>(at + 1), keyRaw);
    } else {
      std::optional<std::string> encodedSection =
          Encode(text.encoding, "[" + std::string(section) + "]", *codec_);
      if (!encodedSection) return false;
      if (!text.lines.empty()) {
        if (text.lines.back().eol.empty()) text.lines.back().eol = eol;
        if (!TrimLine(text.lines.back().text).empty()) text.lines.push_back(RawLine{"", eol});
      }
      text.lines.push_back(RawLine{*encodedSection, eol});
      text.lines.push_back(keyRaw);
    }
  }

  std::string out;
  if (text.encoding == Encoding::Utf8Bom) out = kUtf8Bom;
  for (const RawLine& line : text.lines) out += line.text + line.eol;
  if (text.encoding == Encoding::Gbk && IsValidUtf8(out) && !IsAscii(out)) {
    // The edit removed the last bytes that told GBK from UTF-8: read again, the remaining
    // Chinese text would be taken for UTF-8 and change its meaning. Such a file goes over
    // to UTF-8 with a byte-order mark, which keeps every value as it reads now. A line that
    // is no GBK matched nothing; read as UTF-8 it could now open a section or come first for
    // a key (the one just written, too), so it stays as a comment.
    out = kUtf8Bom;
    for (const RawLine& line : text.lines) {
      std::optional<std::string> utf8 = codec_->gbkToUtf8(line.text);
      out += (utf8 ? *utf8 : ";" + line.text) + line.eol;
    }
  }
  return WriteFileAtomically(
      path_, std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(out.data()), out.size()));
}

}  // namespace qm
