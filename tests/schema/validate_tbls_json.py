"""Checks quarnel-dump --tbls-json against tbls' published JSON Schema.

usage: validate_tbls_json.py QUARNEL_DUMP DEMO_DB SCHEMA_FILE WORK_DIR

Writes schema.json for the demo database and for a database with foreign keys and names that
need quoting, validates both with a real JSON Schema validator (python3-jsonschema) and checks
that every table of the source is in the document.
"""
import json
import os
import sqlite3
import subprocess
import sys

import jsonschema

dump, demo, schema_file, work = sys.argv[1:5]
os.makedirs(work, exist_ok=True)
with open(schema_file, encoding="utf-8") as f:
    validator = jsonschema.Draft202012Validator(json.load(f))

foreign = os.path.join(work, "foreign.db")
if os.path.exists(foreign):
    os.remove(foreign)
db = sqlite3.connect(foreign)
db.executescript('''
CREATE TABLE ARTIST (ARTIST_ID INTEGER PRIMARY KEY, NAME VARCHAR2(120) NOT NULL);
CREATE TABLE "Album ""1""" (ALBUM_ID INTEGER PRIMARY KEY, 題名 NVARCHAR2(160) DEFAULT 'x',
  ARTIST_ID INTEGER REFERENCES ARTIST (ARTIST_ID) ON DELETE CASCADE,
  CHECK (ALBUM_ID > 0), UNIQUE (題名));
CREATE INDEX ALBUM_ARTIST ON "Album ""1""" (ARTIST_ID DESC, upper(題名));
''')
db.close()

failures = 0
for source in (demo, foreign):
    out = os.path.join(work, os.path.basename(source) + ".json")
    run = subprocess.run([dump, "--host", "sqlite:" + source, "--user", "demo",
                          "--tbls-json", out], capture_output=True, text=True)
    if run.returncode != 0:
        print(f"{source}: quarnel-dump failed: {run.stderr}")
        failures += 1
        continue
    with open(out, encoding="utf-8") as f:
        document = json.load(f)
    for error in validator.iter_errors(document):
        print(f"{source}: {error.json_path}: {error.message}")
        failures += 1
    tables = sqlite3.connect(source).execute(
        "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite_%'"
        " ORDER BY rowid").fetchall()
    names = [t["name"] for t in document["tables"]]
    if names != [t[0] for t in tables]:
        print(f"{source}: tables {names} != {[t[0] for t in tables]}")
        failures += 1
    if document["driver"]["name"] != "sqlite":
        print(f"{source}: driver {document['driver']}")
        failures += 1
sys.exit(1 if failures else 0)
