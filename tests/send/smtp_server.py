"""A real SMTP server for the send tests, on a free loopback port.

Prints the port on the first line of stdout once it listens, then serves until
it is terminated. Every accepted message is written to the folder as
message_<n>.eml (the bytes after DATA, dots removed) with message_<n>.json
(envelope, TLS, login); every command line received goes to commands.txt.
"""
import argparse
import asyncio
import json
import os
import logging
import signal

from aiosmtpd.smtp import SMTP, AuthResult, LoginPassword


def parse_arguments():
    parser = argparse.ArgumentParser()
    parser.add_argument("--folder", required=True)
    parser.add_argument("--starttls", nargs=2, metavar=("CERT", "KEY"))
    parser.add_argument("--auth", nargs=2, metavar=("USER", "PASSWORD"))
    parser.add_argument("--only-cram-md5", action="store_true",
                        help="offer AUTH CRAM-MD5 alone, never LOGIN")
    parser.add_argument("--reject-rcpt", action="store_true")
    parser.add_argument("--drop-in-data", action="store_true")
    parser.add_argument("--stall", choices=["connect", "ehlo"])
    parser.add_argument("--no-ehlo", action="store_true", help="answer EHLO with 502")
    parser.add_argument("--refuse-starttls", action="store_true",
                        help="offer STARTTLS but answer it with 454")
    return parser.parse_args()


class Recorder:
    def __init__(self, folder):
        self.folder = folder
        self.count = 0
        os.makedirs(folder, exist_ok=True)

    def command(self, line):
        with open(os.path.join(self.folder, "commands.txt"), "a") as log:
            log.write(line + "\n")

    def message(self, session, envelope):
        self.count += 1
        base = os.path.join(self.folder, "message_%d" % self.count)
        with open(base + ".eml", "wb") as out:
            out.write(envelope.original_content)
        login = session.auth_data
        if isinstance(login, LoginPassword):
            login = login.login.decode()
        elif login is not None:
            login = repr(login)
        with open(base + ".json", "w") as out:
            json.dump({"mail_from": envelope.mail_from, "rcpt_tos": envelope.rcpt_tos,
                       "tls": session.ssl is not None, "login": login}, out)


class Handler:
    def __init__(self, options, recorder):
        self.options = options
        self.recorder = recorder

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if self.options.reject_rcpt:
            return "550 5.1.1 No such user here"
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        self.recorder.message(session, envelope)
        return "250 Message accepted for delivery"


def make_server_class(options, recorder):
    class RecordingSMTP(SMTP):
        async def _record(self, name, arg):
            self.recorder_line = "%s %s" % (name, arg) if arg is not None else name
            recorder.command(self.recorder_line)

        async def smtp_EHLO(self, arg):
            await self._record("EHLO", arg)
            if options.stall == "ehlo":
                await asyncio.sleep(3600)
            if options.no_ehlo:
                await self.push("502 5.5.2 Error: command not recognized")
                return
            await super().smtp_EHLO(arg)

        async def smtp_HELO(self, arg):
            await self._record("HELO", arg)
            await super().smtp_HELO(arg)

        async def smtp_STARTTLS(self, arg):
            await self._record("STARTTLS", arg)
            if options.refuse_starttls:
                await self.push("454 4.7.0 TLS not available due to temporary reason")
                return
            await super().smtp_STARTTLS(arg)

        async def smtp_AUTH(self, arg):
            await self._record("AUTH", arg)
            await super().smtp_AUTH(arg)

        async def smtp_RSET(self, arg):
            await self._record("RSET", arg)
            await super().smtp_RSET(arg)

        async def smtp_MAIL(self, arg):
            await self._record("MAIL", arg)
            # The null reverse-path is valid mail; this server library refuses it.
            if arg is not None and arg.replace(" ", "").upper() == "FROM:<>":
                self.envelope.mail_from = "<>"
                await self.push("250 OK")
                return
            await super().smtp_MAIL(arg)

        async def smtp_RCPT(self, arg):
            await self._record("RCPT", arg)
            await super().smtp_RCPT(arg)

        async def smtp_DATA(self, arg):
            await self._record("DATA", arg)
            if options.drop_in_data:
                await self.push("354 End data with <CR><LF>.<CR><LF>")
                await asyncio.sleep(0.2)
                self.transport.abort()
                return
            await super().smtp_DATA(arg)

        async def smtp_QUIT(self, arg):
            await self._record("QUIT", arg)
            await super().smtp_QUIT(arg)

        async def auth_CRAM__MD5(self, server, args):
            return AuthResult(success=False, handled=False)

    return RecordingSMTP


def main():
    logging.basicConfig(level=logging.CRITICAL)
    options = parse_arguments()
    recorder = Recorder(options.folder)
    loop = asyncio.new_event_loop()
    asyncio.set_event_loop(loop)

    if options.stall == "connect":
        class Silent(asyncio.Protocol):
            pass
        factory = Silent
    else:
        server_class = make_server_class(options, recorder)
        kwargs = {"hostname": "quillon-test.localdomain", "auth_require_tls": False}
        if options.starttls:
            import ssl
            context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
            context.load_cert_chain(*options.starttls)
            kwargs["tls_context"] = context
        if options.auth:
            user, password = options.auth

            def authenticator(server, session, envelope, mechanism, auth_data):
                ok = (isinstance(auth_data, LoginPassword)
                      and auth_data.login.decode() == user
                      and auth_data.password.decode() == password)
                return AuthResult(success=ok, handled=False, auth_data=auth_data)
            kwargs["authenticator"] = authenticator
            if options.only_cram_md5:
                kwargs["auth_exclude_mechanism"] = ["LOGIN", "PLAIN"]
            else:
                kwargs["auth_exclude_mechanism"] = ["CRAM-MD5"]
        else:
            kwargs["auth_exclude_mechanism"] = ["LOGIN", "PLAIN", "CRAM-MD5"]
        handler = Handler(options, recorder)

        def factory():
            return server_class(handler, **kwargs)

    server = loop.run_until_complete(loop.create_server(factory, "127.0.0.1", 0))
    print(server.sockets[0].getsockname()[1], flush=True)
    loop.add_signal_handler(signal.SIGTERM, loop.stop)
    loop.run_forever()


main()
