// wsprintfW and its bounded and va_list forms.
#include <cstring>
#include <cwchar>
#include <string>

#include "platform/Text.h"

namespace {

// The original's own limit for wsprintfW, terminator included.
constexpr int kUnboundedLimit = 1024;

class Output {
 public:
  Output(wchar_t* buffer, int capacity) : buffer_(buffer), room_(capacity - 1) {}
  void Put(wchar_t c) {
    if (count_ < room_) {
      buffer_[count_++] = c;
    }
  }
  void Repeat(wchar_t c, int times) {
    for (int i = 0; i < times; ++i) {
      Put(c);
    }
  }
  int Finish() {
    buffer_[count_] = L'\0';
    return count_;
  }

 private:
  wchar_t* buffer_;
  int room_;
  int count_ = 0;
};

struct Spec {
  bool left = false;
  bool zero = false;
  bool alternate = false;
  int width = 0;
  int precision = -1;
  char size = 0;  // 'h', 'l' or none
};

// Reads a run of digits, saturating well below overflow.
int ReadNumber(const wchar_t*& p) {
  int value = 0;
  while (*p >= L'0' && *p <= L'9') {
    value = value < 100000 ? value * 10 + (*p - L'0') : value;
    ++p;
  }
  return value;
}

void PutPadded(Output& out, const Spec& spec, std::wstring_view body, std::wstring_view prefix,
               bool numeric) {
  const int length = static_cast<int>(body.size() + prefix.size());
  const int pad = spec.width > length ? spec.width - length : 0;
  if (!spec.left && !(numeric && spec.zero)) {
    out.Repeat(L' ', pad);
  }
  for (wchar_t c : prefix) {
    out.Put(c);
  }
  if (!spec.left && numeric && spec.zero) {
    out.Repeat(L'0', pad);
  }
  for (wchar_t c : body) {
    out.Put(c);
  }
  if (spec.left) {
    out.Repeat(L' ', pad);
  }
}

void PutInteger(Output& out, const Spec& spec, wchar_t type, va_list& args) {
  const int raw = va_arg(args, int);
  unsigned long long magnitude;
  bool negative = false;
  if (type == L'd' || type == L'i') {
    long long value = spec.size == 'h' ? static_cast<short>(raw) : raw;
    negative = value < 0;
    magnitude = negative ? static_cast<unsigned long long>(-value) : value;
  } else {
    magnitude = spec.size == 'h' ? static_cast<unsigned short>(raw) : static_cast<unsigned>(raw);
  }
  const bool hex = type == L'x' || type == L'X';
  const wchar_t* digits = type == L'X' ? L"0123456789ABCDEF" : L"0123456789abcdef";
  std::wstring body;
  do {
    body.insert(body.begin(), digits[magnitude % (hex ? 16 : 10)]);
    magnitude /= hex ? 16 : 10;
  } while (magnitude != 0);
  if (spec.precision >= 0 && static_cast<int>(body.size()) < spec.precision) {
    body.insert(0, spec.precision - body.size(), L'0');
  }
  std::wstring_view prefix;
  if (negative) {
    prefix = L"-";
  } else if (hex && spec.alternate) {
    prefix = type == L'X' ? L"0X" : L"0x";
  }
  PutPadded(out, spec, body, prefix, true);
}

void PutWideString(Output& out, const Spec& spec, const wchar_t* text) {
  if (!text) {
    text = L"(null)";
  }
  std::size_t length = 0;
  while (text[length] &&
         (spec.precision < 0 || length < static_cast<std::size_t>(spec.precision))) {
    ++length;
  }
  PutPadded(out, spec, {text, length}, {}, false);
}

void PutNarrowString(Output& out, const Spec& spec, const char* text) {
  if (!text) {
    PutWideString(out, spec, nullptr);
    return;
  }
  std::size_t length = std::strlen(text);
  std::wstring wide(length, L'\0');
  if (length > 0) {
    const int converted = MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(length),
                                              wide.data(), static_cast<int>(length));
    wide.resize(converted);
  }
  PutWideString(out, spec, wide.c_str());
}

}  // namespace

int wvnsprintfW(LPWSTR buffer, int bufferCount, LPCWSTR format, va_list arguments) {
  if (!buffer || bufferCount <= 0) {
    return -1;
  }
  Output out(buffer, bufferCount);
  if (!format) {
    return out.Finish();
  }
  va_list args;
  va_copy(args, arguments);
  for (const wchar_t* p = format; *p; ++p) {
    if (*p != L'%') {
      out.Put(*p);
      continue;
    }
    ++p;
    Spec spec;
    for (;; ++p) {
      if (*p == L'-') {
        spec.left = true;
      } else if (*p == L'0') {
        spec.zero = true;
      } else if (*p == L'#') {
        spec.alternate = true;
      } else {
        break;
      }
    }
    spec.width = ReadNumber(p);
    if (*p == L'.') {
      ++p;
      spec.precision = ReadNumber(p);
    }
    if (*p == L'h' || *p == L'l') {
      spec.size = static_cast<char>(*p);
      ++p;
    }
    const wchar_t type = *p;
    switch (type) {
      case L'\0':
        --p;  // a lone '%' at the end: stop at the terminator
        break;
      case L'd':
      case L'i':
      case L'u':
      case L'x':
      case L'X':
        PutInteger(out, spec, type, args);
        break;
      case L's':
        if (spec.size == 'h') {
          PutNarrowString(out, spec, va_arg(args, const char*));
        } else {
          PutWideString(out, spec, va_arg(args, const wchar_t*));
        }
        break;
      case L'S':
        if (spec.size == 'l') {
          PutWideString(out, spec, va_arg(args, const wchar_t*));
        } else {
          PutNarrowString(out, spec, va_arg(args, const char*));
        }
        break;
      case L'c':
      case L'C': {
        const int raw = va_arg(args, int);
        // %c is wide and %C 8-bit, unless a size prefix says otherwise.
        const bool narrow = type == L'c' ? spec.size == 'h' : spec.size != 'l';
        const wchar_t c[2] = {narrow ? static_cast<wchar_t>(static_cast<unsigned char>(raw))
                                     : static_cast<wchar_t>(raw),
                              L'\0'};
        PutPadded(out, spec, {c, 1}, {}, false);
        break;
      }
      default:
        out.Put(type);  // "%%" and unknown types print the character itself
        break;
    }
  }
  va_end(args);
  return out.Finish();
}

int wnsprintfW(LPWSTR buffer, int bufferCount, LPCWSTR format, ...) {
  va_list args;
  va_start(args, format);
  const int written = wvnsprintfW(buffer, bufferCount, format, args);
  va_end(args);
  return written;
}

int wsprintfW(LPWSTR buffer, LPCWSTR format, ...) {
  va_list args;
  va_start(args, format);
  const int written = wvnsprintfW(buffer, kUnboundedLimit, format, args);
  va_end(args);
  return written;
}
