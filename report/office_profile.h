#pragma once
// The office profile of this program instance: the first of root/1, root/2,
// ... that no running copy holds. A lock on root/N.lock is held until this
// process ends, so the kernel frees a crashed copy's profile by itself; an
// office such a copy left running on it is ended before the profile is used.
// The profiles stay between runs, so the office does not set one up anew
// each time. Internal to report/.
#include <QString>

namespace office {

// Claims a profile under root once per process and returns its folder.
QString ClaimProfile(const QString& root);

// The argument that points an office at a profile folder.
QString ProfileArgument(const QString& folder);

// Kills every process of ours that runs an office on that profile.
void EndOfficesOnProfile(const QString& folder);

}  // namespace office
