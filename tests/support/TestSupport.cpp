#include "TestSupport.h"

namespace tarnell::testsupport {

QStringList& messages() {
    static QStringList list;
    return list;
}

void clearMessages() {
    messages().clear();
}

} // namespace tarnell::testsupport
