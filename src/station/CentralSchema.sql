-- The K52 central store: every station's uploads and their records in one PostgreSQL database.
-- Schema version 1. `k52cli central init URL` applies this file; a DBA may run it with psql instead
-- (psql -v ON_ERROR_STOP=1 -f central-schema.sql). Running it again changes nothing.
BEGIN;
-- Two inits at once take turns.
SELECT pg_advisory_xact_lock(524233);

CREATE TABLE IF NOT EXISTS k52_schema (version integer NOT NULL);
INSERT INTO k52_schema (version) SELECT 0 WHERE NOT EXISTS (SELECT 1 FROM k52_schema);

-- A station is one desk's collection folder: its ledger names it once, with the host it was made on.
CREATE TABLE IF NOT EXISTS stations (
    id          text PRIMARY KEY,
    host        text NOT NULL,
    name        text NOT NULL DEFAULT '',
    first_seen  timestamptz NOT NULL DEFAULT now(),
    last_seen   timestamptz NOT NULL DEFAULT now()
);

-- One row per upload, under the key the station gave it (unique across stations).
CREATE TABLE IF NOT EXISTS uploads (
    upload_key     uuid PRIMARY KEY,
    station_id     text NOT NULL REFERENCES stations (id),
    terminal       text NOT NULL,
    name           text NOT NULL DEFAULT '',   -- the port's given name at the station
    device         text NOT NULL,
    by_id          text NOT NULL DEFAULT '',
    started        timestamptz NOT NULL,
    ended          timestamptz,
    started_local  text NOT NULL,              -- as the station wrote them, with its UTC offset
    ended_local    text NOT NULL DEFAULT '',
    records        integer NOT NULL,
    acknowledged   integer NOT NULL,
    outcome        text NOT NULL,
    sha256         text NOT NULL DEFAULT '',   -- of the file at the station; '' for an upload without one
    file           text NOT NULL DEFAULT '',   -- its name in the station's folder
    code           text NOT NULL DEFAULT '',   -- the receive's last notice, and its words: the reason
    reason         text NOT NULL DEFAULT '',
    delivered      timestamptz NOT NULL DEFAULT now()
);
CREATE INDEX IF NOT EXISTS uploads_started ON uploads (started);
CREATE INDEX IF NOT EXISTS uploads_terminal_started ON uploads (terminal, started);
CREATE INDEX IF NOT EXISTS uploads_station_started ON uploads (station_id, started);

-- Every record of an upload: its bytes as the terminal sent them (code page 950), their text in UTF-8,
-- and the fields cut by the template's separators when the station knows the template (else NULL).
CREATE TABLE IF NOT EXISTS records (
    upload_key  uuid NOT NULL REFERENCES uploads (upload_key) ON DELETE CASCADE,
    line        integer NOT NULL,
    raw         bytea NOT NULL,
    text        text NOT NULL,
    fields      text[],
    PRIMARY KEY (upload_key, line)
);

UPDATE k52_schema SET version = 1 WHERE version < 1;
COMMIT;
