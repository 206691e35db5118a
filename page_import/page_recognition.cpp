#include "page_import/page_recognition.h"

namespace lintora {
}  // namespace lintora
