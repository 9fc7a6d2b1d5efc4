// The C++ runtime's reports of misused strings and containers as QXI.dll throws them (see
// src/dll/runtime_errors.cpp): an exception of the DLL's own, not the runtime's
// std::logic_error family, carrying the runtime's text with its numbers filled in. A plain
// program, linked like the DLL: GoogleTest would link the runtime's own reports back in.
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

int g_failures = 0;

// Runs `misuse` and checks that it throws a std::exception that is not one of the runtime's
// own logic errors, with exactly the text `expected`.
template <typename Misuse>
void ExpectThrownText(const char* what, Misuse misuse, const char* expected) {
  const char* problem = "nothing thrown";
  std::string text;
  try {
    misuse();
  } catch (const std::logic_error& e) {
    problem = "the runtime's own exception";
    text = e.what();
  } catch (const std::exception& e) {
    text = e.what();
    problem = text == expected ? nullptr : "another text";
  }
  if (problem != nullptr) {
    ++g_failures;
    std::printf("FAIL %s: %s: \"%s\", expected \"%s\"\n", what, problem, text.c_str(), expected);
  }
}

}  // namespace

int main() {
  const std::string text = "abc";
  ExpectThrownText("substr", [&] { (void)text.substr(5); },
                   "basic_string::substr: __pos (which is 5) > this->size() (which is 3)");
  const std::vector<int> empty;
  ExpectThrownText("at", [&] { (void)empty.at(7); },
                   "vector::_M_range_check: __n (which is 7) >= this->size() (which is 0)");
  const char* volatile null_text = nullptr;
  ExpectThrownText("null", [&] { std::string from_null(null_text); },
                   "basic_string: construction from null is not valid");
  std::string growing;
  ExpectThrownText("resize", [&] { growing.resize(growing.max_size() + 1); },
                   "basic_string::_M_replace_aux");
  std::printf("%s\n", g_failures == 0 ? "PASS" : "FAILED");
  return g_failures == 0 ? 0 : 1;
}
