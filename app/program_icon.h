#pragma once
// The program's own icon, at every size it was drawn in.
#include <QIcon>

QIcon ProgramIcon();
