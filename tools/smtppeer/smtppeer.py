#!/usr/bin/env python3
"""A real SMTP peer for tests: aiosmtpd on a free loopback port.

Prints "port N" once it listens, then writes every mail it accepts to the mailbox
file (the envelope as "MAIL FROM:"/"RCPT TO:" lines, an empty line, then the data as
received after the end of the data phase) and serves until it is terminated.
"""
import argparse
import asyncio
import os
import signal
import sys

from aiosmtpd.smtp import SMTP


class MailboxHandler:
    def __init__(self, mailbox):
        self.mailbox = mailbox

    async def handle_DATA(self, server, session, envelope):
        content = envelope.original_content or envelope.content
        if isinstance(content, str):
            content = content.encode("utf-8", "surrogateescape")
        record = b"MAIL FROM:" + envelope.mail_from.encode() + b"\r\n"
        for recipient in envelope.rcpt_tos:
            record += b"RCPT TO:" + recipient.encode() + b"\r\n"
        record += b"\r\n" + content
        # Written whole under a new name first, so a reader never sees half a mail.
        partial = self.mailbox + ".partial"
        with open(partial, "wb") as out:
            out.write(record)
        os.replace(partial, self.mailbox)
        return "250 Message accepted for delivery"


async def serve(mailbox):
    loop = asyncio.get_running_loop()
    server = await loop.create_server(lambda: SMTP(MailboxHandler(mailbox), hostname="peer.test"),
                                      host="127.0.0.1", port=0)
    print("port %d" % server.sockets[0].getsockname()[1], flush=True)
    stop = loop.create_future()
    loop.add_signal_handler(signal.SIGTERM, stop.set_result, None)
    await stop
    server.close()
    await server.wait_closed()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--mailbox", required=True)
    asyncio.run(serve(parser.parse_args().mailbox))
    return 0


if __name__ == "__main__":
    sys.exit(main())
