#!/usr/bin/env python3
"""File checks of the installer test, on the files as they lie in the prefix.

  files.py reminder ORIGINAL SAVED [STATES]
                                     SAVED is one record, ORIGINAL's but for
                                     the state (one of STATES, default 0:
                                     ready), the alert ticks and the
                                     done-through block; prints the ticks
  files.py ini-set PATH KEY=VALUE... sets keys of [Main], keeping the file's
                                     bytes (code page 936, CRLF) otherwise
  files.py ini-check PATH SOURCE KEY=VALUE...
                                     PATH is SOURCE with those [Main] keys
                                     (added ones at the end of [Main]), CRLF
                                     line ends, code page 936 text
"""

import os
import re
import sys


def fail(message):
    print(message)
    sys.exit(1)


def record_layout():
    """The record's size and offsets as the assistant's headers name them."""
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..')
    text = ''
    for name in ('ReminderItem.h', 'ReminderCodec.h'):
        with open(os.path.join(root, 'assistant', 'reminders', name), encoding='utf-8') as f:
            text += f.read()

    def number(pattern):
        found = re.search(pattern, text)
        if not found:
            fail('the reminder layout lacks %s' % pattern)
        return int(found.group(1))

    return (number(r'kReminderItemSize = (\d+);'), number(r'offsetof\(ReminderItem, state\) == (\d+)'),
            number(r'offsetof\(ReminderItem, alertTicks\) == (\d+)'), number(r'kDoneBlockOffset = (\d+);'),
            number(r'kDoneBlockSize = (\d+);'))


# After the ticks lies the assistant's own bookkeeping: the moment up to
# which the reminder's occurrences are done, in a tagged block. The rest of
# the record must come back byte for byte.
RECORD_SIZE, STATE_OFFSET, TICKS_OFFSET, DONE_OFFSET, DONE_SIZE = record_layout()


def reminder(original_path, saved_path, states='0'):
    original = open(original_path, 'rb').read()
    saved = open(saved_path, 'rb').read()
    if len(saved) != RECORD_SIZE:
        fail('Notify.dat holds %d bytes, not one record' % len(saved))
    state = int.from_bytes(saved[STATE_OFFSET:STATE_OFFSET + 4], 'little', signed=True)
    ticks = int.from_bytes(saved[TICKS_OFFSET:TICKS_OFFSET + 4], 'little', signed=True)
    done = DONE_OFFSET + DONE_SIZE
    if saved[:STATE_OFFSET] != original[:STATE_OFFSET] or saved[done:] != original[done:]:
        fail('Notify.dat differs from the reminder written beyond its state and ticks')
    if state not in [int(s) for s in states.split(',')]:
        fail('the reminder was saved in state %d, not %s' % (state, states))
    print(ticks)


def lines(data):
    if not data.endswith(b'\r\n'):
        fail('the file does not end in CRLF')
    body = data[:-2].split(b'\r\n')
    for line in body:
        if b'\n' in line or b'\r' in line:
            fail('a line end that is not CRLF: %r' % line)
    return body


def with_keys(body, values):
    """The lines of body with [Main]'s keys set as the profile functions do."""
    out, section, pending = [], None, dict(values)
    for line in body + [None]:
        starts_section = line is None or line.startswith(b'[')
        if starts_section and section == b'main':
            # Keys the section lacked go after its last key.
            out.extend(key + b'=' + value for key, value in pending.items())
            pending = {}
        if line is None:
            break
        if starts_section:
            section = line.strip(b'[]').lower()
        elif section == b'main' and b'=' in line:
            key = line.split(b'=', 1)[0]
            if key in pending:
                line = key + b'=' + pending.pop(key)
        out.append(line)
    return out


def parse_pairs(pairs):
    values = {}
    for pair in pairs:
        key, value = pair.split('=', 1)
        values[key.encode('ascii')] = value.encode('gbk')
    return values


def ini_set(path, pairs):
    body = lines(open(path, 'rb').read())
    open(path, 'wb').write(b'\r\n'.join(with_keys(body, parse_pairs(pairs))) + b'\r\n')


def ini_check(path, source, pairs):
    got = lines(open(path, 'rb').read())
    want = with_keys(lines(open(source, 'rb').read()), parse_pairs(pairs))
    for line in got:
        try:
            line.decode('gbk')
        except UnicodeDecodeError:
            fail('a line that is no code page 936 text: %r' % line)
    if got != want:
        import difflib
        diff = difflib.unified_diff([l.decode('gbk', 'replace') for l in want],
                                    [l.decode('gbk', 'replace') for l in got], 'expected', 'installed', lineterm='')
        fail('\n'.join(diff))


def main(argv):
    if len(argv) >= 3 and argv[0] == 'reminder':
        reminder(*argv[1:4])
    elif len(argv) >= 2 and argv[0] == 'ini-set':
        ini_set(argv[1], argv[2:])
    elif len(argv) >= 3 and argv[0] == 'ini-check':
        ini_check(argv[1], argv[2], argv[3:])
    else:
        fail(__doc__)


if __name__ == '__main__':
    main(sys.argv[1:])
