// The commands of the group "Reg": keys and values under a root that the line names,
// RegisterPriority, which writes the priorities store, and the commands that undo them. A value name may be empty: the key's
// default value. Each raises RegKey::Except when its registry call fails.
#pragma once

#include "engine/command_row.h"

namespace qxi {

namespace registry_commands {

// The line of a key or value command: root, key, value, then the data.
inline constexpr RootKeyAt kRoot{0};
inline constexpr PathAt kKey{1};
inline constexpr PathAt kValue{2};
inline constexpr PathAt kString{3};
inline constexpr IntegerAt kDword{3};
inline constexpr BytesAt kBinary{3};
// The line of RegisterPriority and RestorePriority.
inline constexpr PathAt kPath{0};
inline constexpr IntegerAt kPriority{1};
inline constexpr IntegerAt kPreviousPriority{2};

/// "CreateKey": creates kKey under the root with any missing keys above it; a key that
/// exists is only opened.
void CreateKey(const ParamList& params);
/// "DeleteKey": one deletion of kKey under the root; whether a key that still has subkeys
/// goes is the platform's rule (ERROR_FILE_NOT_FOUND when missing).
void DeleteKey(const ParamList& params);
/// "DeleteValue": removes the value of an existing key (ERROR_FILE_NOT_FOUND for a missing
/// key or value).
void DeleteValue(const ParamList& params);
/// "IncValue": reads the value of an existing key (which it does not create) as a number of
/// at most 4 bytes of any type (0 when it cannot be read: missing or longer) and stores that
/// number + 1, wrapping in 32 bits, as a REG_DWORD.
void IncValue(const ParamList& params);
/// "SetSzValue": a REG_SZ value of kString, its stored size counting the terminating NUL;
/// the key (and the keys above it) is created when missing, as for the next two.
void SetSzValue(const ParamList& params);
/// "SetDwValue": a REG_DWORD value holding the 32-bit pattern of kDword (-1 is 0xFFFFFFFF).
void SetDwValue(const ParamList& params);
/// "SetBinValue": a REG_BINARY value of the bytes of kBinary (size 0 when there are none).
void SetBinValue(const ParamList& params);
/// "RegisterPriority": UpdatePriority of kPath with kPriority.
void RegisterPriority(const ParamList& params);

// The commands that undo an installation: each says nothing of what is gone already.

/// "RemoveValue": removes the value when it is there; a missing key or value is no failure.
void RemoveValueQuietly(const ParamList& params);
/// "RemoveEmptyKey": deletes the key when it holds no subkey and no value; a missing key or
/// one with anything in it is left as it is.
void RemoveEmptyKey(const ParamList& params);
/// "RestorePriority": gives up the record that kPriority was written for kPath over
/// kPreviousPriority (0: none), without touching the file: the record is put back to the
/// priority of the earlier writer that still needs the file, or removed; a higher record, of
/// a later writer, stays (ReleasePriorityClaim). Raises RegKey::Except.
void RestorePriority(const ParamList& params);

inline constexpr CommandRow kRows[] = {
    {"Reg", "CreateKey", {kRoot("Root Key"), kKey("Key")}, QXI_ACTION(CreateKey)},
    {"Reg", "DeleteKey", {kRoot("Root Key"), kKey("Key")}, QXI_ACTION(DeleteKey)},
    {"Reg", "DeleteValue", {kRoot("Root Key"), kKey("Key"), kValue("Value")},
     QXI_ACTION(DeleteValue)},
    {"Reg", "IncValue", {kRoot("Root Key"), kKey("Key"), kValue("Value")}, QXI_ACTION(IncValue)},
    {"Reg", "SetSzValue", {kRoot("Root Key"), kKey("Key"), kValue("Value"), kString("String")},
     QXI_ACTION(SetSzValue)},
    {"Reg", "SetDwValue", {kRoot("Root Key"), kKey("Key"), kValue("Value"), kDword("Data")},
     QXI_ACTION(SetDwValue)},
    {"Reg", "SetBinValue", {kRoot("Root Key"), kKey("Key"), kValue("Value"), kBinary("Data")},
     QXI_ACTION(SetBinValue)},
    {"Reg", "RegisterPriority", {kPath("Path"), kPriority("Priority")},
     QXI_ACTION(RegisterPriority)},
    {"Reg", "RemoveValue", {kRoot("Root Key"), kKey("Key"), kValue("Value")},
     QXI_ACTION(RemoveValueQuietly)},
    {"Reg", "RemoveEmptyKey", {kRoot("Root Key"), kKey("Key")}, QXI_ACTION(RemoveEmptyKey)},
    {"Reg", "RestorePriority",
     {kPath("Path"), kPriority("Priority"), kPreviousPriority("Previous priority")},
     QXI_ACTION(RestorePriority)},
};

}  // namespace registry_commands
}  // namespace qxi
