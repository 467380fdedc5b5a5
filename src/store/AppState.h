#pragma once

// Process-wide handles, flags and single shared instances. Each instance is
// created on first use and released by Shutdown; a member reached after the
// release gets a fresh instance.

#include <functional>
#include <memory>

class QString;
namespace dao {
class Database;
}
namespace ado {
class Connection;
}

class CMain;
class CUtility;
class CDataLayer;
class CError;
class CLog;
class CTypes;
class COpen;
class CFileObject;

// The DAO database of the open case; empty when no case is open.
extern std::shared_ptr<dao::Database> gDB;
// The shared ADO connection of the analysis queries.
extern std::shared_ptr<ado::Connection> gConnection;
// Gate the issue record's writes (see CIssue) and record the bookmark pane's state.
extern bool gNodeClicked;
extern bool gTreeChanged;
extern bool gBookmarksVisible;

CMain& oMain();
CUtility& oUtility();
CDataLayer& oDataLayer();
CError& oError();
CLog& oLog();
CTypes& oTypes();
COpen& oOpen();
// The default stored-document record; not released by Shutdown.
CFileObject& oFileObject();

// Layers above the store own further shared instances (the analysis engine
// and its texts); they register how to release them so that Shutdown can
// release everything in its fixed order. Known names: "oReport", "oText".
void registerSharedInstanceRelease(const char* name, std::function<void()> release);
void releaseSharedInstance(const char* name);

// Releases every shared instance and clears every handle and flag; tests use
// it to start from a clean process state.
void resetAppState();
