#!/usr/bin/env python3
"""`velto export` of a 100,000-record history, read back with Python's own csv and json modules.

Usage: export_round_trip.py <velto executable>

The history is generated here, in the documented file format, over several daylight-saving
changes in America/New_York, with records placed across each change and tags that CSV must
quote. Every record must come back exactly once with the same instants, offsets and fields,
and --from/--to must select the local days Python's zoneinfo computes.
"""
import csv
import datetime as dt
import io
import json
import os
import random
import subprocess
import sys
import tempfile
import uuid
from zoneinfo import ZoneInfo

ZONE_NAME = "America/New_York"
ZONE = ZoneInfo(ZONE_NAME)
REFERENCE = dt.datetime(2001, 1, 1, tzinfo=dt.timezone.utc)  # the history's epoch
COUNT = 100_000
TAGS = [None, "Work", "Deep, \"Work\"", "line\nbreak", "crlf\r\nend", "🚀 launch", " padded ", "=SUM(A1)", ""]
TYPES = [("focus", 1500.0), ("shortBreak", 300.0), ("longBreak", 900.0)]
# Local changes in New York: 2024-03-10 02:00, 2024-11-03 02:00, 2025-03-09 02:00, 2025-11-02 02:00.
CHANGES_UTC = [dt.datetime(2024, 3, 10, 7, tzinfo=dt.timezone.utc), dt.datetime(2024, 11, 3, 6, tzinfo=dt.timezone.utc),
               dt.datetime(2025, 3, 9, 7, tzinfo=dt.timezone.utc), dt.datetime(2025, 11, 2, 6, tzinfo=dt.timezone.utc)]


def generate():
    rng = random.Random(21)
    first = dt.datetime(2024, 1, 1, tzinfo=dt.timezone.utc).timestamp()
    last = dt.datetime(2026, 1, 1, tzinfo=dt.timezone.utc).timestamp()
    records = []
    for i in range(COUNT):
        kind, length = TYPES[rng.randrange(3)]
        if i < 400:  # straddling a change: started before it, ended after, or the other way round
            change = CHANGES_UTC[i % 4].timestamp()
            end = change + rng.uniform(-length, 2 * length)
        else:
            end = rng.uniform(first, last)
        end = round(end * 1000) / 1000 + rng.choice([0.0, 0.25, 0.5])  # milliseconds: what the export keeps
        record = {"id": str(uuid.UUID(int=rng.getrandbits(128))).upper(), "date": end - REFERENCE.timestamp(),
                  "duration": length if rng.random() < 0.9 else rng.uniform(1, 7200),
                  "type": kind, "completedFully": rng.random() < 0.95}
        tag = rng.choice(TAGS)
        if tag is not None:
            record["tag"] = tag
        records.append(record)
    return records


def unix(record):
    return record["date"] + REFERENCE.timestamp()


def check_time(text, expected_unix, what):
    parsed = dt.datetime.fromisoformat(text)
    assert abs(parsed.timestamp() - expected_unix) < 0.0006, f"{what}: {text} is not {expected_unix}"
    # The offset written is New York's at that instant.
    expected_offset = dt.datetime.fromtimestamp(expected_unix, ZONE).utcoffset()
    assert parsed.utcoffset() == expected_offset, f"{what}: {text} should have offset {expected_offset}"


def check_rows(rows, records, source):
    by_id = {r["id"]: r for r in records}
    seen = set()
    for row in rows:
        record = by_id.get(row["id"])
        assert record is not None, f"{source}: unknown id {row['id']}"
        assert row["id"] not in seen, f"{source}: {row['id']} twice"
        seen.add(row["id"])
        check_time(row["end"], unix(record), f"{source} end of {row['id']}")
        check_time(row["start"], unix(record) - record["duration"], f"{source} start of {row['id']}")
        assert row["type"] == record["type"], source
        assert int(row["minutes"]) == int(record["duration"] // 60), source
        assert row["tag"] == record.get("tag"), f"{source}: tag {row['tag']!r} is not {record.get('tag')!r}"
        assert row["completedFully"] == record["completedFully"], source
    return seen


def csv_rows(data):
    assert data.startswith(b"id,start,end,type,minutes,tag,completedFully\r\n")
    assert data.endswith(b"\r\n")
    rows = []
    for row in csv.DictReader(io.StringIO(data.decode("utf-8"), newline="")):
        assert None not in row and len(row) == 7, f"a row with the wrong number of fields: {row}"
        rows.append(dict(row, tag=row["tag"] or None, completedFully={"true": True, "false": False}[row["completedFully"]]))
    return rows


def main():
    velto = sys.argv[1]
    records = generate()
    for record in records:  # CSV cannot tell an empty tag from none
        if record.get("tag") == "":
            del record["tag"]
    with tempfile.TemporaryDirectory() as home:
        os.makedirs(os.path.join(home, "Velto"))
        history_path = os.path.join(home, "Velto", "sessions.json")
        with open(history_path, "w", encoding="utf-8") as f:
            json.dump(records, f, ensure_ascii=False, separators=(",", ":"))
        with open(history_path, "rb") as f:
            history_before = f.read()
        env = dict(os.environ, TZ=ZONE_NAME, XDG_DATA_HOME=home, XDG_CONFIG_HOME=home, LC_ALL="C.UTF-8")

        def export(*args):
            result = subprocess.run([velto, "export", *args], env=env, capture_output=True, timeout=120)
            assert result.returncode == 0, f"velto export {' '.join(args)}: {result.returncode} {result.stderr!r}"
            return result.stdout

        seen = check_rows(csv_rows(export()), records, "CSV")
        assert len(seen) == COUNT, f"CSV has {len(seen)} of {COUNT} records"

        json_path = os.path.join(home, "export.json")
        assert export("--format", "json", "--output", json_path) == b""
        with open(json_path, encoding="utf-8") as f:
            seen = check_rows(json.load(f), records, "JSON")
        assert len(seen) == COUNT, f"JSON has {len(seen)} of {COUNT} records"

        # Local days, both ends included: the week around the autumn change of 2025.
        first, last = dt.date(2025, 10, 30), dt.date(2025, 11, 5)
        expected = {r["id"] for r in records if first <= dt.datetime.fromtimestamp(unix(r), ZONE).date() <= last}
        chosen = check_rows(csv_rows(export("--from", first.isoformat(), "--to", last.isoformat())), records, "range")
        assert chosen == expected, f"the range holds {len(chosen)} records, not {len(expected)}"

        # Usage errors end with status 2, a bad date with 1; neither writes anything.
        for args, status in ((["--format", "xml"], 2), (["--from", "2025-13-01"], 1)):
            result = subprocess.run([velto, "export", *args, "--output", json_path + ".bad"], env=env,
                                    capture_output=True, timeout=60)
            assert result.returncode == status, f"{args}: status {result.returncode}, not {status}"
            assert result.stderr.count(b"\n") == 1 and not os.path.exists(json_path + ".bad"), result.stderr

        with open(history_path, "rb") as f:
            assert f.read() == history_before, "the export changed the history"
    print(f"export round trip: {COUNT} records in CSV and JSON, {len(expected)} in the range")


if __name__ == "__main__":
    main()
