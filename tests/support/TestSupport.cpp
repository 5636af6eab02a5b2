#include "TestSupport.h"

namespace testsupport {

QStringList& messages() {
    static QStringList list;
    return list;
}

void clearMessages() { messages().clear(); }

} // namespace testsupport
