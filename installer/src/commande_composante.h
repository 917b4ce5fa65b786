// The function other programs call after loading the installer's module, to
// read its string resources.
#pragma once

#include <windows.h>

#include <cstdint>

extern "C" {

// The parameter block: five fields. `stringId`, `buffer`, `capacity` (in
// characters) and `result` are used; `reserved` is not. In a 32-bit build
// every field is 32 bits; in a 64-bit build the buffer address is a pointer.
struct StelvaneComponentBlock {
  int32_t stringId;
  wchar_t* buffer;
  int32_t capacity;
  int32_t result;
  int32_t reserved;
};

// Command 3: loads string `stringId` of the installer into `buffer`, stores
// the number of characters in `result` and returns it. Command 4: -1. Any
// other command: 0.
__declspec(dllexport) int32_t WINAPI CommandeComposante(int32_t command, void* block);
}
