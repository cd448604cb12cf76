#include "files/set_data.h"

#include "protocol/utf8.h"

namespace korvane {

namespace {

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}
bool isLineEnd(char c) {
  return c == '\n' || c == '\r';
}

// Reads the file's fields one by one. The file we write is one line of quoted fields each
// followed by a comma; a hand-edited file may also put fields on lines of their own, leave out
// the quotes, or add blanks.
class FieldReader {
 public:
  explicit FieldReader(std::string_view text) : text_(text) {}

  // Nothing when the text ends before the field starts.
  std::optional<std::string> next() {
    skipBlanks();
    if (atEnd()) return std::nullopt;
    std::string field;
    if (text_[pos_] == '"') {
      // Up to the next quote, commas and line ends included; a missing closing quote takes the
      // rest of the text. Whatever stands between the closing quote and the separator is dropped.
      const auto close = text_.find('"', pos_ + 1);
      const auto stop = close == std::string_view::npos ? text_.size() : close;
      field = std::string(text_.substr(pos_ + 1, stop - pos_ - 1));
      pos_ = stop == text_.size() ? stop : stop + 1;
      while (!atEnd() && text_[pos_] != ',' && !isLineEnd(text_[pos_])) ++pos_;
    } else {
      // Unquoted: up to the next comma or line end, blanks and tabs trimmed at both ends.
      const auto start = pos_;
      while (!atEnd() && text_[pos_] != ',' && !isLineEnd(text_[pos_])) ++pos_;
      auto raw = text_.substr(start, pos_ - start);
      while (!raw.empty() && isBlank(raw.back())) raw.remove_suffix(1);
      field = std::string(raw);
    }
    skipSeparator();
    return field;
  }

 private:
  bool atEnd() const { return pos_ >= text_.size(); }
  void skipBlanks() {
    while (!atEnd() && isBlank(text_[pos_])) ++pos_;
  }
  // One separator: a comma, a line end (CR LF, LF or CR), or a comma with a line end after it
  // (blanks between allowed), so that "a,\r\nb" holds two fields, not three.
  void skipSeparator() {
    if (atEnd()) return;
    if (text_[pos_] == ',') {
      ++pos_;
      auto after = pos_;
      while (after < text_.size() && isBlank(text_[after])) ++after;
      if (after < text_.size() && isLineEnd(text_[after])) {
        pos_ = after;
        skipLineEnd();
      }
      return;
    }
    skipLineEnd();
  }
  void skipLineEnd() {
    if (atEnd()) return;
    if (text_[pos_] == '\r') {
      ++pos_;
      if (!atEnd() && text_[pos_] == '\n') ++pos_;
    } else if (text_[pos_] == '\n') {
      ++pos_;
    }
  }

  std::string_view text_;
  std::size_t pos_ = 0;
};

}  // namespace

std::string Format_SetData(const SetDataFields& fields) {
  std::string out;
  for (const auto& field : fields) {
    out += '"';
    out += field;
    out += "\",";
  }
  return out;
}

// Text after the eleventh field is ignored. Windows editors put a byte-order mark in front of
// UTF-8; one is skipped (our own saves never write one).
std::optional<SetDataFields> Parse_SetData(std::string_view text) {
  if (text.starts_with(kUtf8ByteOrderMark)) text.remove_prefix(kUtf8ByteOrderMark.size());
  FieldReader reader(text);
  SetDataFields fields;
  for (auto& field : fields) {
    auto next = reader.next();
    if (!next) return std::nullopt;
    field = std::move(*next);
  }
  return fields;
}

}  // namespace korvane
