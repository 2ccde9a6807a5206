#include "document/desktop_info.h"

namespace vodirev {

// Placeholder until the layout reader lands.
int CDesktopInfo::LoadDesktopXml(const QString&) { return -1; }

}  // namespace vodirev
