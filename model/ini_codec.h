// The settings file's text, parsed once and edited in place. It reads what the platform's own
// profile reader reads: the system's ANSI code page, UTF-8 after its byte-order mark, UTF-16
// (little or big endian) after its mark, and CR LF, LF or lone CR line ends. A file without a
// mark whose bytes are valid UTF-8 with at least one multi-byte character is UTF-8 (what
// Notepad saves by default); real code page 932 text is practically never valid UTF-8. An edit writes the
// file back in its own encoding, mark and line ends, and every line it does not set stays byte
// for byte; only a name or value that an ANSI file's code page cannot hold turns that file into
// UTF-16LE with its mark (the Unicode form the platform's profile functions read and keep), as
// the code page would otherwise replace the characters it lacks and lose the value. Values are
// written exactly as given: the platform's writer drops the leading blank of " 0", which our
// number form relies on.
#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

enum class IniEncoding { Ansi, Utf8, Utf16LE, Utf16BE };

// Keys of one section with their values, in the order they are set.
using IniEntries = std::vector<std::pair<std::wstring, std::wstring>>;

// The value that, set, removes the key's line instead: no line of a file can hold a NUL.
inline const std::wstring kIniRemove(2, L'\0');

// The system's ANSI code page, as the platform glue knows it. Tests bind a byte-for-byte one.
class AnsiCodePage {
 public:
  virtual ~AnsiCodePage() = default;
  // True for the first byte of a double-byte character (whose second byte may look like ']').
  virtual bool IsLeadByte(unsigned char c) const = 0;
  virtual std::string Encode(const std::wstring& text) const = 0;
  virtual std::wstring Decode(const std::string& bytes) const = 0;
};

// Whether `bytes` (no mark) are valid UTF-8 holding at least one multi-byte sequence.
bool IsUtf8WithoutMark(const std::string& bytes);

class IniText {
 public:
  // `bytes` is the whole file (empty for a missing one, which then becomes ANSI with CR LF).
  // `ansi` must outlive this object.
  IniText(std::string bytes, const AnsiCodePage& ansi);

  IniEncoding Encoding() const { return encoding_; }

  // The value of `key` in the first section named `section`, or "" when either is missing.
  // Names match without regard to ASCII case and the first matching key wins. Blanks around the
  // value are trimmed and one pair of matching surrounding quotes (" or ') is removed. The
  // result is cut to 255 bytes of an ANSI file, or 255 UTF-16 units of a Unicode one, never
  // inside a character, as the platform's reader cuts it; `whole` reads it all (a path or a
  // label, which a cut would corrupt at the next save).
  std::wstring Get(const std::wstring& section, const std::wstring& key, bool whole = false) const;

  // Sets `key` in `section` to `value`. An existing key's line becomes "key=value" in place
  // (spelt as the file spells the key, keeping the line's end); a missing key goes after the
  // last non-blank line of its section; a missing section is appended at the end. An ANSI file
  // first becomes UTF-16LE, all of its text, when the code page cannot hold `section`, `key` or
  // `value`; from then on it stays Unicode. kIniRemove as `value` removes the key's line with
  // its end, and leaves a file without the key as it is.
  void Set(const std::wstring& section, const std::wstring& key, const std::wstring& value);

  // Sets each key in turn, as that many single Sets would, each on the file the one before
  // left; so many keys go to the file in one write.
  void Set(const std::wstring& section, const IniEntries& entries);

  // The file as it is now, in its own encoding, with its byte-order mark.
  std::string Bytes() const;

 private:
  enum class Kind : unsigned char { Blank, Section, Entry };
  struct Line {
    std::size_t begin, end, next;  // content [begin, end), line end [end, next)
    std::size_t nameBegin, nameEnd;
    std::size_t valueBegin, valueEnd;  // empty range when the line has no '='
    Kind kind;
  };

  void split();
  void remove(const std::u16string& section, const std::u16string& key);
  Line classify(std::size_t begin, std::size_t end, std::size_t next) const;
  bool sameName(std::size_t begin, std::size_t end, const std::u16string& name) const;
  std::size_t findSection(const std::u16string& name) const;  // index in lines_, or npos
  std::size_t sectionEnd(std::size_t header) const;
  std::size_t findKey(std::size_t header, std::size_t last, const std::u16string& key) const;
  std::u16string toUnits(const std::wstring& text) const;
  std::wstring fromUnits(std::u16string units, std::size_t limit) const;
  std::u16string newlineAt(std::size_t pos) const;
  bool ansiHolds(const std::wstring& text) const;
  void becomeUtf16();
  bool dbcs() const { return encoding_ == IniEncoding::Ansi; }

  const AnsiCodePage& ansi_;
  IniEncoding encoding_ = IniEncoding::Ansi;
  std::string mark_;      // the byte-order mark, kept as found
  std::u16string units_;  // the text: bytes of an 8-bit file widened, or UTF-16 code units
  std::string oddByte_;   // a UTF-16 file's stray last byte, kept as found
  std::u16string newline_;
  std::size_t lfRegionEnd_ = 0;  // after the last LF: lines beyond it end at a lone CR
  std::vector<Line> lines_;
};
