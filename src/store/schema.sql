-- The blank case: every new case file is a copy of the database built from
-- this script. Declared types follow the case file's field types:
-- SMALLINT 16-bit, INTEGER 32-bit, VARCHAR(n) sized text, TEXT memo,
-- DATETIME date and time (ISO text), BLOB long binary.
-- Ids are never reused (AUTOINCREMENT): other rows keep referring to the
-- ids of deleted items.

PRAGMA journal_mode = DELETE;

CREATE TABLE Issue (
    ID INTEGER PRIMARY KEY AUTOINCREMENT,
    ParentID SMALLINT DEFAULT 0,
    Name VARCHAR(255) COLLATE NOCASE,
    Explanation TEXT COLLATE NOCASE,
    Question TEXT COLLATE NOCASE,
    Weight SMALLINT,
    Success SMALLINT,
    Jury SMALLINT,
    Substantive SMALLINT,
    Procedural SMALLINT,
    Significance SMALLINT,
    ItemType VARCHAR(50) COLLATE NOCASE
);

CREATE TABLE Bookmarks (
    ID INTEGER PRIMARY KEY AUTOINCREMENT,
    CodeID INTEGER,
    Description TEXT COLLATE NOCASE
);

-- File comes last: the engine then stores a new document's bytes in place,
-- never building the whole row in memory. Columns are read by name.
CREATE TABLE CodeFiles (
    ID INTEGER PRIMARY KEY AUTOINCREMENT,
    CodeID INTEGER,
    Description VARCHAR(50) COLLATE NOCASE,
    OrigDateTime DATETIME,
    DateAdded DATETIME,
    Path VARCHAR(255) COLLATE NOCASE,
    File BLOB
);

CREATE TABLE CodeDBVersion (
    Version VARCHAR(255) COLLATE NOCASE
);
INSERT INTO CodeDBVersion (Version) VALUES ('1.0.0');
