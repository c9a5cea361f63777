#pragma once
// The office's UNO libraries are loaded on the first call into them, not at
// every start: most starts make no report.

namespace office {
// Loads them now; throws EWordError when the office is not installed.
void LoadLibraries();
}  // namespace office
