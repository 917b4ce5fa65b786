#include "commande_composante.h"

// Programs load the installer's module to call this function, and a loader
// need not bind an executable's imports when it loads one as a library. So
// this file calls no imported function and uses no absolute address: it
// reads the string table straight from the module's resource directory. (Built with
// -fno-tree-loop-distribute-patterns so that the copy loop does not become a
// call to memcpy.)

namespace {

constexpr WORD kFrench = 1036;

// The start of this module. Found from the address of this very code (a
// relative address, right without relocations, which a loader may also skip):
// images start on a 64 KiB boundary with the "MZ" and "PE" signatures.
const BYTE* moduleBase() {
  auto address = reinterpret_cast<ULONG_PTR>(&moduleBase) & ~static_cast<ULONG_PTR>(0xFFFF);
  for (;; address -= 0x10000) {
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(address);
    if (dos->e_magic != IMAGE_DOS_SIGNATURE || dos->e_lfanew <= 0 || dos->e_lfanew > 0x1000)
      continue;
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(address + dos->e_lfanew);
    if (nt->Signature == IMAGE_NT_SIGNATURE) return reinterpret_cast<const BYTE*>(address);
  }
}

const IMAGE_RESOURCE_DIRECTORY* resourceRoot() {
  const BYTE* base = moduleBase();
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_RESOURCE];
  if (dir.VirtualAddress == 0 || dir.Size == 0) return nullptr;
  return reinterpret_cast<const IMAGE_RESOURCE_DIRECTORY*>(base + dir.VirtualAddress);
}

const IMAGE_RESOURCE_DIRECTORY_ENTRY* entries(const IMAGE_RESOURCE_DIRECTORY* dir) {
  return reinterpret_cast<const IMAGE_RESOURCE_DIRECTORY_ENTRY*>(dir + 1);
}

// The entry of `dir` with numeric identifier `id`; with `anyId`, the
// preferred one or else the first numbered one.
const IMAGE_RESOURCE_DIRECTORY_ENTRY* findEntry(const IMAGE_RESOURCE_DIRECTORY* dir, WORD id,
                                                bool anyId) {
  const auto* e = entries(dir) + dir->NumberOfNamedEntries;
  const IMAGE_RESOURCE_DIRECTORY_ENTRY* first = nullptr;
  for (WORD i = 0; i < dir->NumberOfIdEntries; ++i) {
    if (e[i].Id == id) return &e[i];
    if (!first) first = &e[i];
  }
  return anyId ? first : nullptr;
}

const IMAGE_RESOURCE_DIRECTORY* subdirectory(const IMAGE_RESOURCE_DIRECTORY* root,
                                             const IMAGE_RESOURCE_DIRECTORY_ENTRY* entry) {
  if (!entry || !entry->DataIsDirectory) return nullptr;
  return reinterpret_cast<const IMAGE_RESOURCE_DIRECTORY*>(
      reinterpret_cast<const BYTE*>(root) + entry->OffsetToDirectory);
}

// Copies string `id` of the module into `buffer` (at most `capacity` - 1
// characters and a NUL); the number of characters copied.
int32_t loadString(uint32_t id, wchar_t* buffer, int32_t capacity) {
  buffer[0] = L'\0';
  const IMAGE_RESOURCE_DIRECTORY* root = resourceRoot();
  if (!root || id > 0xFFFF) return 0;
  // Strings live in blocks of 16: block (id / 16) + 1, position id % 16.
  const auto* types = subdirectory(root, findEntry(root, 6 /* RT_STRING */, false));
  if (!types) return 0;
  const auto* languages = subdirectory(root, findEntry(types, static_cast<WORD>(id / 16 + 1), false));
  if (!languages) return 0;
  const auto* language = findEntry(languages, kFrench, true);
  if (!language || language->DataIsDirectory) return 0;
  const auto* data = reinterpret_cast<const IMAGE_RESOURCE_DATA_ENTRY*>(
      reinterpret_cast<const BYTE*>(root) + language->OffsetToData);
  const auto* text = reinterpret_cast<const WCHAR*>(moduleBase() + data->OffsetToData);
  const WCHAR* end = text + data->Size / sizeof(WCHAR);
  for (uint32_t skip = id % 16; skip > 0 && text < end; --skip) text += 1 + *text;
  if (text >= end) return 0;
  const int32_t length = static_cast<int32_t>(*text++);
  int32_t n = 0;
  for (; n < length && n < capacity - 1 && text + n < end; ++n) buffer[n] = text[n];
  buffer[n] = L'\0';
  return n;
}

}  // namespace

extern "C" int32_t WINAPI CommandeComposante(int32_t command, void* block) {
  switch (command) {
    case 3: {
      auto* b = static_cast<StelvaneComponentBlock*>(block);
      if (!b || !b->buffer || b->capacity <= 0) return 0;
      b->result = loadString(static_cast<uint32_t>(b->stringId), b->buffer, b->capacity);
      return b->result;
    }
    case 4:
      return -1;
    default:
      return 0;
  }
}
