#pragma once

// Replacing a file so that a crash or a failure at any point leaves either
// the old file or the complete new one: the new bytes go to a temporary file
// beside the target, are flushed to the disk, renamed over the target, and
// the rename itself is flushed with the folder. Paths pass to the system in
// its own 8-bit encoding, whatever letters they hold.

#include <QFileDevice>
#include <QString>

#include <functional>

namespace durable {

// A name beside target that no file has yet: "<target>.<tag>-XXXXXX". It
// never ends in the target's extension, so it is never taken for one.
// Raises 75 when nothing can be written in the folder.
QString freeNameBeside(const QString& target, const QString& tag);

// The permission bits a new copy of original is to carry, once the copy is
// put in original's group (copy must exist). The bits are meant for that
// group; only its members may put a file in it. A copy made by anyone else
// stays in the user's own group, and those who reached original through its
// group now count among the others: they keep reading it, which opens it to
// every other user as well, where locked out of their own case they could
// not even open it. Writing is not opened to everyone for them.
QFileDevice::Permissions accessForCopy(const QString& original, const QString& copy);

// The file a replacement of target is to be written to: where target is a
// symbolic link, the file it names, followed to the end (to a name no file
// has yet too), so that the new bytes reach that file and the link stays a
// link. The temporary file goes beside what this returns. Raises 75 when the
// links go round in a loop or cannot be read.
QString replacedFile(const QString& target, const QString& source);

// Gives temp, which is about to replace target, the group and permission
// bits target has (as accessForCopy tells them), so that the file replaced
// stays open to whom it was open; a temp with no file at target keeps its
// own. Raises 75 when they cannot be set.
void keepAccessOf(const QString& target, const QString& temp, const QString& source);

// Removes what a writer stopped by a crash left of freeNameBeside(target,
// tag): its file and that file's journal. They are never the target, and
// may be as large as it.
void removeLeftoversBeside(const QString& target, const QString& tag);

enum class Existing { Replace, Refuse };

// Makes temp durable and renames it to target, then makes the folder
// durable. With Existing::Refuse a file at target is never replaced (3204).
// Raises 75 with the system's reason; temp is left for the caller to remove.
void moveInto(const QString& temp, const QString& target, Existing existing, const QString& source);

// Flushes a file's or a folder's contents to the disk; raises 75 with the reason.
void syncFile(const QString& path, const QString& source);
void syncFolderOf(const QString& path, const QString& source);

// For tests: called with temp and target just before every rename; a hook
// that raises stands for a failure or an interruption at that point.
using BeforeMoveHook = std::function<void(const QString& temp, const QString& target)>;
void setBeforeMoveHook(BeforeMoveHook hook);

} // namespace durable
