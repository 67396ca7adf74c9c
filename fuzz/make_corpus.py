#!/usr/bin/env python3
"""Writes the seed corpus: logs as the program writes them in several locales, and
truncated, damaged and binary ones. A start_up seed is one scenario byte and a log."""
import os
import random

HERE = os.path.dirname(os.path.abspath(__file__))

# Scenario byte of start_up_fuzz: locale | clock << 3 | file << 5.
US, GERMAN, US_NO_PARSER, GERMAN_DOT_TIME, CJK_LATIN1, ISO, CJK_UTF8, US_COMMA_LATIN1 = range(8)
MIDDAY, YEAR_END, LEAP_DAY, LEAP_MIDNIGHT = range(4)
PRESENT, ABSENT, READ_FAILS, REMOVE_FAILS, APPEND_FAILS = 0, 4, 5, 6, 7


def record(date, time, count):
    return b'"%s","%s","%s"\r\n' % (date, time, count)


def day(date, n, sep=b":", start=1):
    return b"".join(record(date, b"0%d%s1%d%s0%d" % (i % 10, sep, i % 10, sep, i % 10), b"%d" % (start + i))
                    for i in range(n))


CJK = "2026年12月6日".encode()
rng = random.Random(20261206)

# name: (scenario byte, log)
SEEDS = {
    "us_three_starts": (US, day(b"12/6/2026", 3)),
    "us_yesterday": (US, day(b"12/5/2026", 2)),
    "us_tomorrow": (US, day(b"12/7/2026", 1)),
    "us_no_parser_today": (US_NO_PARSER, day(b"12/6/2026", 2)),
    "us_padded_form_of_today": (US, record(b"12/06/2026", b"06:00:00", b"2")),
    "german_two_starts": (GERMAN, day(b"06.12.2026", 2)),
    "german_dot_time": (GERMAN_DOT_TIME, day(b"06.12.2026", 2, b".")),
    "cjk_latin1": (CJK_LATIN1, day(b"2026?12?6?", 2)),
    "cjk_utf8": (CJK_UTF8, day(CJK, 3)),
    "iso_leap_day": (ISO | LEAP_DAY << 3, day(b"2028-02-29", 2)),
    "iso_before_leap_midnight": (ISO | LEAP_MIDNIGHT << 3, day(b"2028-02-28", 4)),
    "us_year_end_midnight": (US | YEAR_END << 3, day(b"12/31/2026", 5)),
    "us_comma_time": (US_COMMA_LATIN1, day(b"12/6/2026", 2, b",")),
    "torn_last_line": (US, day(b"12/6/2026", 2) + b'"12/6/2026","07:4'),
    "torn_only_line": (US, b'"12/6/2026","07:41:09","1'),
    "empty": (US, b""),
    "blank_lines": (US, b"\r\n  \r\n\t\r\n"),
    "lone_lf_lines": (US, day(b"12/6/2026", 2).replace(b"\r\n", b"\n")),
    "bad_count": (US, day(b"12/6/2026", 2) + record(b"12/6/2026", b"07:41:09", b"x")),
    "bad_count_old_day": (US, record(b"12/5/2026", b"07:41:09", b"x")),
    "largest_count": (US, record(b"12/6/2026", b"07:41:09", b"999999999999999999")),
    "unquoted_fields": (US, b"12/6/2026, 07:41:09 , 3\r\n"),
    "missing_fields": (US, b'"12/6/2026"\r\n'),
    "unclosed_quote": (US, b'"12/6/2026,07:41:09,3\r\n'),
    "nul_in_date": (US, b'"12/6/2026\0x","07:41:09","1"\r\n'),
    "impossible_date": (US, record(b"2/31/2026", b"07:41:09", b"4")),
    "absent": (US | ABSENT << 5, b""),
    "read_fails": (US | READ_FAILS << 5, day(b"12/6/2026", 1)),
    "remove_fails": (US | REMOVE_FAILS << 5, day(b"12/5/2026", 1)),
    "append_fails": (GERMAN | APPEND_FAILS << 5, day(b"05.12.2026", 1)),
    "binary": (US, bytes(rng.randrange(256) for _ in range(96))),
    "binary_with_line_ends": (CJK_LATIN1, b"\r\n".join(bytes(rng.randrange(256) for _ in range(12)) for _ in range(6))),
}


def write(folder, name, data):
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


for name, (scenario, log) in SEEDS.items():
    write(os.path.join(HERE, "corpus", "start_up"), name, bytes([scenario]) + log)
    if scenario >> 5 == PRESENT:
        write(os.path.join(HERE, "corpus", "record_reader"), name, log)
