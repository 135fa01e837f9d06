#!/usr/bin/env python3
"""Reads a mail that smtppeer.py stored, as a mail program would (Python's email
package), and writes what a reader gets from it: the Date header's zone, the body's
character set and transfer encoding, an empty line, then the decoded body bytes.

Usage: readmail.py MAILBOX OUTPUT
"""
import email
import email.utils
import sys


def main():
    with open(sys.argv[1], "rb") as mailbox:
        record = mailbox.read()
    # The envelope lines come first, then an empty line, then the mail as received.
    content = record.split(b"\r\n\r\n", 1)[1]
    message = email.message_from_bytes(content)
    zone = "none"
    when = email.utils.parsedate_tz(message.get("Date", ""))
    if when is not None and when[9] is not None:
        offset = when[9] // 60
        zone = "%s%02d%02d" % ("-" if offset < 0 else "+", abs(offset) // 60, abs(offset) % 60)
    header = "zone: %s\r\ncharset: %s\r\nencoding: %s\r\n\r\n" % (
        zone, message.get_content_charset() or "none", message.get("Content-Transfer-Encoding", "none"))
    with open(sys.argv[2], "wb") as out:
        out.write(header.encode("ascii") + message.get_payload(decode=True))
    return 0


if __name__ == "__main__":
    sys.exit(main())
