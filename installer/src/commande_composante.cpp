#include "commande_composante.h"

extern "C" int32_t WINAPI CommandeComposante(int32_t command, void* block) {
  switch (command) {
    case 3: {
      auto* b = static_cast<StelvaneComponentBlock*>(block);
      if (!b || !b->buffer || b->capacity <= 0) return 0;
      // The strings are this module's, whichever program loaded it.
      HMODULE self = nullptr;
      GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                             GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<LPCWSTR>(&CommandeComposante), &self);
      b->result = LoadStringW(self, static_cast<UINT>(b->stringId), b->buffer, b->capacity);
      return b->result;
    }
    case 4:
      return -1;
    default:
      return 0;
  }
}
