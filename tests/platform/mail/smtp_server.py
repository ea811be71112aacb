#!/usr/bin/python3
# Loopback SMTP server of the tests: prints its port, saves each message it accepts as
# JSON (envelope, login and the message as Python's own mail reader sees it), refuses
# recipients whose address begins with "refuse", and ends when its standard input closes.
# An optional fourth argument "STEP:HOW" plays a faulty server at one step of every exchange
# (greeting, MAIL, DATA for the reply to the end of data, QUIT): HOW is a delay in seconds,
# "silent" (no answer at all) or "drop" (the connection closed); "step STEP" is printed when
# an exchange reaches it.
import asyncio
import base64
import email
import email.policy
import json
import logging
import os
import sys
import warnings

from aiosmtpd.smtp import SMTP, AuthResult, LoginPassword

warnings.filterwarnings("ignore", category=DeprecationWarning)
logging.getLogger("mail.log").setLevel(logging.ERROR)
folder, account, password = sys.argv[1], sys.argv[2], sys.argv[3]
saved = 0
fault_step, _, fault_how = (sys.argv[4] if len(sys.argv) > 4 else "").partition(":")


def text(value):
    return value.decode() if isinstance(value, bytes) else value


async def fault(step, server):
    if step != fault_step:
        return
    print("step " + step, flush=True)
    if fault_how == "drop":
        server.transport.close()
    await asyncio.sleep(3600 if fault_how in ("silent", "drop") else float(fault_how))


class FaultySMTP(SMTP):
    async def _handle_client(self):
        await fault("greeting", self)
        return await super()._handle_client()


class Handler:
    async def handle_MAIL(self, server, session, envelope, address, mail_options):
        await fault("MAIL", server)
        envelope.mail_from = address
        envelope.mail_options.extend(mail_options)
        return "250 OK"

    async def handle_QUIT(self, server, session, envelope):
        await fault("QUIT", server)
        return "221 Bye"

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if address.lower().startswith("refuse"):
            return "550 5.1.1 Recipient refused: " + address
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        global saved
        await fault("DATA", server)
        message = email.message_from_bytes(envelope.content, policy=email.policy.default)
        body = message.get_body(preferencelist=("plain",))
        record = {
            "mail_from": envelope.mail_from,
            "rcpt_tos": envelope.rcpt_tos,
            "login": getattr(session, "al3_login", ""),
            "headers": [name for name in message.keys()],
            "from": str(message["From"] or ""),
            "from_name": message["From"].addresses[0].display_name if message["From"] else "",
            "to": [a.addr_spec for a in message["To"].addresses] if message["To"] else [],
            "cc": [a.addr_spec for a in message["Cc"].addresses] if message["Cc"] else [],
            "subject": str(message["Subject"] or ""),
            "body": body.get_content().replace("\r\n", "\n") if body is not None else "",
            "attachments": [
                {
                    "filename": part.get_filename(),
                    "content": base64.b64encode(part.get_payload(decode=True)).decode(),
                }
                for part in message.iter_attachments()
            ],
        }
        saved += 1
        path = os.path.join(folder, "%04d.json" % saved)
        with open(path + ".tmp", "w", encoding="utf-8") as out:
            json.dump(record, out, ensure_ascii=False)
        os.rename(path + ".tmp", path)
        return "250 OK"


def authenticate(server, session, envelope, mechanism, auth_data):
    ok = (isinstance(auth_data, LoginPassword) and text(auth_data.login) == account
          and text(auth_data.password) == password)
    if ok:
        session.al3_login = account
    return AuthResult(success=ok, handled=False)


async def main():
    loop = asyncio.get_running_loop()
    stopped = loop.create_future()
    loop.add_reader(sys.stdin.fileno(),
                    lambda: os.read(sys.stdin.fileno(), 4096) or stopped.done() or stopped.set_result(None))
    server = await loop.create_server(
        lambda: FaultySMTP(Handler(), authenticator=authenticate, auth_require_tls=False,
                     auth_required=False),
        "127.0.0.1", 0)
    print(server.sockets[0].getsockname()[1], flush=True)
    await stopped
    server.close()


asyncio.run(main())
