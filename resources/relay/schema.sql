-- Tables of the proxy pool database (dbase/proxypool.db). The engine never
-- creates or alters a table: kvrelay_mkdb makes the delivered file from this
-- text at build time. The engine writes every value as quoted text; number
-- columns are declared INTEGER or REAL so that their affinity turns those
-- texts into numbers and comparisons such as "Rank <= 0" and "Type < 2"
-- compare numbers. TimeStamp holds "%Y-%m-%d" and compares as text.
-- The column order of Proxy and KVList is binding: rows are read by position.

CREATE TABLE Proxy (
    IP           TEXT,
    Port         INTEGER,
    Type         INTEGER,
    Country      TEXT,
    Rank         REAL,
    ResponseTime REAL,
    Anonymous    INTEGER,
    TimeStamp    TEXT,
    authonticate INTEGER,
    GateWay      TEXT,
    FailReason   TEXT,
    FailCount    INTEGER
);

-- The private list: read only by the engine.
CREATE TABLE KVList (
    IP           TEXT,
    Port         INTEGER,
    Type         INTEGER,
    Country      TEXT,
    Rank         REAL,
    ResponseTime REAL,
    Anonymous    INTEGER,
    TimeStamp    TEXT,
    authonticate INTEGER,
    GateWay      TEXT,
    FailReason   TEXT,
    FailCount    INTEGER
);

-- Address ranges (as a*256^3 + b*256^2 + c*256 + d) and their country. The
-- delivered file ships no ranges; the country lookup then finds nothing.
CREATE TABLE Countries (
    FromIP  INTEGER,
    ToIP    INTEGER,
    Country TEXT
);
