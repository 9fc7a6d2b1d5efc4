// File: the owner of one Win32 file handle; every failing call becomes a File::Except with
// the Win32 error. Copies duplicate the handle, so an open file can be handed out of the
// scope that opened it.
#pragma once

#include <windows.h>

#include <cstdint>

#include "engine/win32_error.h"

namespace qxi {

class File {
 public:
  /// A failed file operation: the Win32 error (1392 for a short ReadExact, 29 for a short
  /// Write), with the system's text for it as what().
  class Except : public Win32Error {
   public:
    explicit Except(uint32_t code) noexcept : Win32Error(code) {}
    uint32_t code() const { return raw_code(); }
  };

  /// Opens `name` with CreateFileA: shared for reading unless `access` includes
  /// GENERIC_WRITE, then exclusive. Raises Except with GetLastError(); never half-open.
  /// Reading: OPEN_EXISTING with GENERIC_READ; writing: CREATE_ALWAYS with GENERIC_WRITE.
  File(const char* name, DWORD disposition, DWORD access);
  virtual ~File();
  /// Both copy and assignment give the target its own duplicate of the source's handle
  /// (the target's own handle is closed first). Raise Except when duplication fails.
  File(const File& other);
  File& operator=(const File& other);

  bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
  /// Opened with CREATE_ALWAYS or OPEN_ALWAYS: whether the file was there before.
  bool existed() const { return existed_; }
  HANDLE handle() const { return handle_; }

  /// Closes the handle; safe to repeat; never raises.
  void Close() noexcept;
  /// The low 32 bits of the size; never raises.
  uint32_t Size() const;
  /// Reads up to `count` bytes; returns how many came (0 at the end). Raises Except.
  uint32_t Read(void* buffer, uint32_t count);
  /// Reads exactly `count` bytes; raises Except 1392 (ERROR_FILE_CORRUPT) when fewer come.
  void ReadExact(void* buffer, uint32_t count);
  /// Writes all `count` bytes and returns `count`. Raises Except when the call fails, and
  /// Except 29 (ERROR_WRITE_FAULT) when it writes fewer: a short file is never taken for a
  /// whole one.
  uint32_t Write(const void* buffer, uint32_t count);
  /// Writes up to `count` bytes and returns how many the system wrote (fewer when the volume
  /// fills up). Raises Except when the call fails.
  uint32_t WriteSome(const void* buffer, uint32_t count);
  /// The current position (low 32 bits); never raises.
  uint32_t Tell() const;
  /// Moves by `offset` from `origin` (FILE_BEGIN, FILE_CURRENT, FILE_END); returns the new
  /// position; never raises.
  uint32_t Seek(int32_t offset, DWORD origin);
  /// Sets the given times (null: unchanged). Raises Except.
  void SetTimes(const FILETIME* creation, const FILETIME* last_access, const FILETIME* last_write);

 private:
  /// A duplicate of `source` for this process, inheritable, with the same access.
  static HANDLE Duplicate(HANDLE source);

  HANDLE handle_ = INVALID_HANDLE_VALUE;
  bool existed_ = false;
};

/// The call through which File::Write reaches the system (WriteFile at start).
using WriteFileCall = BOOL(WINAPI*)(HANDLE file, LPCVOID buffer, DWORD count, LPDWORD written,
                                    LPOVERLAPPED overlapped);

/// Routes File::Write to `call` instead and returns the previous route. Lets tests make a
/// write come out short, which no real volume does on demand.
WriteFileCall SetWriteFileCall(WriteFileCall call);

}  // namespace qxi
