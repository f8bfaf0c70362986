#!/usr/bin/env python3
"""Writes a Notify.dat (the assistant's reminder file) with one reminder, or
adds one to an existing file, or shows what a file holds.

  make_notify.py PATH --due-now                  a reminder due this minute
  make_notify.py PATH --title 开会 --date 2026-12-7 --time 9:05 --repeat weekly
  make_notify.py PATH --append --state expired ...
  make_notify.py PATH --fragment 100             add a damaged tail of 100 bytes
  make_notify.py PATH --count 10000 --date 2099-1-1   many reminders (numbered titles)
  make_notify.py PATH --dump                     list the records
  make_notify.py PATH --repeat statutory-workdays --time 18:30 --power shutdown

The file is whole 8276-byte records one after another: six little-endian
int32 (year, month, day, repeat, hour, minute), four 1024-byte text fields in
code page 936 (title, content, command, music), 12 reserved bytes, int32
state, int32 alertTicks, 4136 reserved bytes. A power action lies in the
power block at 4156: "VtPw", int32 action, 4 zero bytes, FNV-1a of the 12
bytes before.
"""

import argparse
import datetime
import struct
import sys

RECORD_SIZE = 8276
TEXT_SIZE = 1024
HEAD = struct.Struct('<6i')
TAIL = struct.Struct('<ii')  # state, alertTicks
TEXT_OFFSET = HEAD.size
STATE_OFFSET = 4132

REPEATS = ['once', 'daily', 'workdays', 'weekends', 'weekly', 'monthly', 'yearly',
           'statutory-workdays', 'lunar-yearly']
STATES = ['ready', 'alerting', 'snoozed', 'expired']
POWERS = ['none', 'shutdown', 'restart', 'logoff', 'sleep', 'hibernate', 'lock']
POWER_OFFSET = 4156


def fnv1a(data):
    h = 2166136261
    for b in data:
        h = ((h ^ b) * 16777619) & 0xFFFFFFFF
    return h


def encode_text(text):
    """Code page 936 bytes, at most 1023 of them, never half a character."""
    out = b''
    for ch in text:
        b = ch.encode('gbk', errors='replace')
        if len(out) + len(b) > TEXT_SIZE - 1:
            break
        out += b
    return out.ljust(TEXT_SIZE, b'\0')


def decode_text(field):
    return field.split(b'\0', 1)[0].decode('gbk', errors='replace')


def record(year, month, day, repeat, hour, minute, title, content, command, music, state, power=0):
    data = bytearray(RECORD_SIZE)
    HEAD.pack_into(data, 0, year, month, day, repeat, hour, minute)
    for i, text in enumerate((title, content, command, music)):
        start = TEXT_OFFSET + i * TEXT_SIZE
        data[start:start + TEXT_SIZE] = encode_text(text)
    TAIL.pack_into(data, STATE_OFFSET, state, 0)
    if power:
        block = b'VtPw' + struct.pack('<ii', power, 0)
        data[POWER_OFFSET:POWER_OFFSET + 16] = block + struct.pack('<I', fnv1a(block))
    return bytes(data)


def choice(value, names):
    if value.isdigit() or (value.startswith('-') and value[1:].isdigit()):
        return int(value)
    try:
        return names.index(value.lower())
    except ValueError:
        raise argparse.ArgumentTypeError('one of %s or a number' % ', '.join(names))


def dump(path):
    with open(path, 'rb') as f:
        data = f.read()
    whole = len(data) // RECORD_SIZE
    for i in range(whole):
        rec = data[i * RECORD_SIZE:(i + 1) * RECORD_SIZE]
        year, month, day, repeat, hour, minute = HEAD.unpack_from(rec, 0)
        texts = [decode_text(rec[TEXT_OFFSET + k * TEXT_SIZE:TEXT_OFFSET + (k + 1) * TEXT_SIZE]) for k in range(4)]
        state, ticks = TAIL.unpack_from(rec, STATE_OFFSET)
        kind = REPEATS[repeat] if 0 <= repeat < len(REPEATS) else str(repeat)
        name = STATES[state] if 0 <= state < len(STATES) else str(state)
        print('%d: %d-%d-%d %d:%02d %s %s ticks=%d title=%r content=%r command=%r music=%r'
              % (i, year, month, day, hour, minute, kind, name, ticks, *texts))
    if len(data) % RECORD_SIZE:
        print('trailing fragment: %d bytes' % (len(data) % RECORD_SIZE))


def main(argv=None):
    p = argparse.ArgumentParser(description=__doc__.split('\n\n')[0])
    p.add_argument('path')
    p.add_argument('--due-now', action='store_true', help='today at the current minute, kind once, ready')
    p.add_argument('--title')
    p.add_argument('--content')
    p.add_argument('--command', default='')
    p.add_argument('--music', default='')
    p.add_argument('--date', help='YYYY-M-D (default today)')
    p.add_argument('--time', help='H:MM (default now)')
    p.add_argument('--repeat', default='once', type=lambda v: choice(v, REPEATS))
    p.add_argument('--state', default='ready', type=lambda v: choice(v, STATES))
    p.add_argument('--power', default='none', type=lambda v: choice(v, POWERS), help='到时执行 (default none)')
    p.add_argument('--append', action='store_true', help='add to the file instead of replacing it')
    p.add_argument('--fragment', type=int, default=0, metavar='N',
                   help='only append N bytes that are no whole record')
    p.add_argument('--dump', action='store_true', help='list the records of the file')
    p.add_argument('--count', type=int, default=1, metavar='N',
                   help='write N such reminders, titles numbered from 1 (0: an empty file)')
    a = p.parse_args(argv)

    if a.dump:
        dump(a.path)
        return 0
    if a.fragment:
        with open(a.path, 'ab') as f:
            f.write(b'\x55' * a.fragment)
        return 0

    now = datetime.datetime.now()
    if a.date:
        year, month, day = (int(x) for x in a.date.split('-'))
    else:
        year, month, day = now.year, now.month, now.day
    if a.time:
        hour, minute = (int(x) for x in a.time.split(':'))
    else:
        hour, minute = now.hour, now.minute
    if a.due_now:
        title = a.title if a.title is not None else '开会'
        content = a.content if a.content is not None else '十点在三楼会议室开周会，记得带上周报。'
    else:
        title = a.title if a.title is not None else '提醒标题'
        content = a.content if a.content is not None else '提醒内容'

    if a.count == 1:
        data = record(year, month, day, a.repeat, hour, minute, title, content, a.command, a.music, a.state,
                      a.power)
    else:
        data = b''.join(record(year, month, day, a.repeat, hour, minute, '%s %d' % (title, n), content,
                               a.command, a.music, a.state) for n in range(1, a.count + 1))
    with open(a.path, 'ab' if a.append else 'wb') as f:
        f.write(data)
    return 0


if __name__ == '__main__':
    sys.exit(main())
