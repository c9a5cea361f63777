#pragma once
#include <QString>

// Whether a font family of that name (any case) is in the toolkit's list of
// families. A name fontconfig does not know at all is answered by fontconfig
// alone, so that, at start-up, the descriptions' fonts this machine lacks
// need only fontconfig's configuration, not the toolkit's list.
bool FamilyInstalled(const QString& family);
