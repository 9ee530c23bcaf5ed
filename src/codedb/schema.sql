-- The code database: one row per module and one per routine or external
-- declaration. Text is UTF-8 and compares without regard to case, as VBA names
-- do (the program replaces NOCASE by one that folds every script). Databases of
-- earlier versions hold Windows-1252 bytes and user_version 0.
PRAGMA user_version = 1;
CREATE TABLE td_mod (
  mod_num INTEGER,
  mod_name TEXT COLLATE NOCASE,
  mod_typ INTEGER,
  mod_zeilen INTEGER
);

CREATE TABLE td_rout (
  rou_typ INTEGER,
  rou_open INTEGER,
  anz_dec_zeilen INTEGER,
  rou_name TEXT COLLATE NOCASE,
  rou_num INTEGER,
  mod_num INTEGER,
  rou_start INTEGER,
  rou_ende INTEGER
);

-- The scanner updates one routine per anchor by number, and the browsing side
-- looks routines up by module and line.
CREATE INDEX ix_rout_num ON td_rout(rou_num);
CREATE INDEX ix_rout_mod_start ON td_rout(mod_num, rou_start);
CREATE INDEX ix_mod_num ON td_mod(mod_num);

-- The Windows code page the project's code was written in: exports write it
-- back in that code page. One row; none in databases of earlier versions.
CREATE TABLE td_projekt (
  prj_codepage INTEGER
);

-- td_aufruf, the routines the document calls by name from outside the code, is
-- made by the reads that find such callers (CodeDatabase::addDocumentCallers).
