#include "lexicon/ui/lexicon_module.h"

#include "shell/ui/main_window.h"

namespace lirno {

void attachLexiconControllers(TfrmMain& /*window*/) {}

}  // namespace lirno
