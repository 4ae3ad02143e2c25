"""Reads one MIME message on stdin and prints what a mail reader sees as JSON:
the header fields in order (raw and decoded), and each part with its decoded
bytes in base64."""
import base64
import email
import email.header
import json
import sys


def decoded(value):
    return str(email.header.make_header(email.header.decode_header(value)))


def main():
    raw = sys.stdin.buffer.read()
    message = email.message_from_bytes(raw)
    result = {
        "defects": [type(d).__name__ for d in message.defects],
        "headers": [[name, value, decoded(value)] for name, value in message.items()],
        "content_type": message.get_content_type(),
        "charset": message.get_param("charset"),
        "preamble": (message.preamble or "").strip(),
        "parts": [],
    }
    for part in message.walk():
        if part.is_multipart():
            continue
        filename = part.get_filename()
        result["parts"].append({
            "content_type": part.get_content_type(),
            "name": decoded(part.get_param("name")) if part.get_param("name") else None,
            "filename": decoded(filename) if filename else None,
            "disposition": part.get_content_disposition(),
            "encoding": part.get("Content-Transfer-Encoding"),
            "payload": base64.b64encode(part.get_payload(decode=True) or b"").decode(),
            "defects": [type(d).__name__ for d in part.defects],
        })
    json.dump(result, sys.stdout)


main()
