// The C++ runtime's reports of a misused string or container (a length past its maximum, a
// position past its end, a string made from a null pointer) as QXI.dll throws them: an
// exception of the DLL's own with the runtime's text. The runtime's own functions throw the
// std::logic_error family, whose messages are held in the old copy-on-write string, and so
// link in a second whole string implementation (about a seventh of the DLL). The engine
// catches these as std::exception, and reports their text, like any other failure.
#include <bits/functexcept.h>

#include <cstdarg>
#include <cstddef>
#include <exception>
#include <new>

namespace {

class RuntimeMisuse : public std::exception {
 public:
  explicit RuntimeMisuse(const char* text) { Append(text); }
  const char* what() const noexcept override { return text_; }

  // Appends up to the room left; the text stays NUL-terminated.
  void Append(const char* text) {
    while (*text != '\0' && length_ + 1 < sizeof text_) text_[length_++] = *text++;
    text_[length_] = '\0';
  }
  void Append(char c) {
    const char text[2] = {c, '\0'};
    Append(text);
  }

 private:
  char text_[160] = {};
  size_t length_ = 0;
};

}  // namespace

namespace std {

void __throw_bad_alloc() { throw bad_alloc(); }

// An allocation of more elements than memory can hold (a vector of wide characters asks so).
void __throw_bad_array_new_length() { throw bad_alloc(); }

void __throw_length_error(const char* text) { throw RuntimeMisuse(text); }

void __throw_logic_error(const char* text) { throw RuntimeMisuse(text); }

// The runtime formats these with "%zu", "%s" and "%%" only.
void __throw_out_of_range_fmt(const char* format, ...) {
  RuntimeMisuse error("");
  va_list args;
  va_start(args, format);
  for (const char* p = format; *p != '\0'; ++p) {
    if (p[0] == '%' && p[1] == 'z' && p[2] == 'u') {
      char digits[24];
      size_t n = va_arg(args, size_t);
      char* d = digits + sizeof digits - 1;
      *d = '\0';
      do {
        *--d = static_cast<char>('0' + n % 10);
        n /= 10;
      } while (n != 0);
      error.Append(d);
      p += 2;
    } else if (p[0] == '%' && p[1] == 's') {
      error.Append(va_arg(args, const char*));
      ++p;
    } else if (p[0] == '%' && p[1] == '%') {
      error.Append('%');
      ++p;
    } else {
      error.Append(*p);
    }
  }
  va_end(args);
  throw error;
}

}  // namespace std
