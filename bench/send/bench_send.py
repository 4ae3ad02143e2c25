"""Times a whole quillon2-send of a 50-page document against the transfer of
the same message alone (Python's smtplib), both to a local aiosmtpd sink.

Usage: bench_send.py QUILLON2_SEND SMTP_SERVER_PY [ROUNDS]
"""
import os
import smtplib
import statistics
import subprocess
import sys
import tempfile
import time

PAGES = 50


def make_document(folder):
    """A 50-page A4 fax document (CCITT G4, 200 dpi) rendered by Ghostscript."""
    script = os.path.join(folder, "doc.ps")
    with open(script, "w") as out:
        out.write("/Helvetica findfont 14 scalefont setfont\n")
        out.write("1 1 %d { /n exch def\n" % PAGES)
        out.write("  60 780 -16 60 { /y exch def 60 y moveto\n")
        out.write("    (Page ) show n 3 string cvs show\n")
        out.write("    (  The quick brown fox jumps over the lazy dog 0123456789) show } for\n")
        out.write("  showpage } for\n")
    document = os.path.join(folder, "doc.tif")
    subprocess.run(["gs", "-q", "-dBATCH", "-dNOPAUSE", "-sDEVICE=tiffg4", "-r200",
                    "-sPAPERSIZE=a4", "-o", document, script], check=True)
    return document


def start_sink(server_script, folder):
    sink = subprocess.Popen(["/usr/bin/python3", server_script, "--folder", folder],
                            stdout=subprocess.PIPE, text=True)
    port = int(sink.stdout.readline())
    return sink, port


def main():
    program, server_script = sys.argv[1], sys.argv[2]
    rounds = int(sys.argv[3]) if len(sys.argv) > 3 else 5
    with tempfile.TemporaryDirectory() as folder:
        document = make_document(folder)
        sink, port = start_sink(server_script, os.path.join(folder, "sink"))
        try:
            settings = os.path.join(folder, "quillon2.ini")
            with open(settings, "w") as out:
                out.write("[Email]\nEMailServer=127.0.0.1\nEMailServerPort=%d\n"
                          "[Common]\nEMailSendMethod=1\n"
                          "[Info]\nCardName=4711\nReplyAddress=client@example.com\n" % port)
            env = dict(os.environ, TMPDIR=folder)
            message_file = os.path.join(folder, "request.eml")
            subprocess.run([program, "--settings", settings, "--message-out", message_file,
                            "-n", "123456", document], check=True, env=env)
            with open(message_file, "rb") as f:
                message = f.read()

            whole, transfer = [], []
            for _ in range(rounds):
                start = time.perf_counter()
                subprocess.run([program, "--settings", settings, "-n", "123456", document],
                               check=True, env=env)
                whole.append(time.perf_counter() - start)

                start = time.perf_counter()
                with smtplib.SMTP("127.0.0.1", port) as client:
                    client.sendmail("client@example.com", ["fax@gateway.example.net"], message)
                transfer.append(time.perf_counter() - start)
        finally:
            sink.terminate()
            sink.wait()

    whole_median = statistics.median(whole)
    transfer_median = statistics.median(transfer)
    print("document: %d pages, message %.1f KiB" % (PAGES, len(message) / 1024))
    print("quillon2-send, whole send: median %.3f s (%s)"
          % (whole_median, ", ".join("%.3f" % t for t in whole)))
    print("smtplib, transfer alone:   median %.3f s (%s)"
          % (transfer_median, ", ".join("%.3f" % t for t in transfer)))
    print("ratio whole/transfer: %.2f (goal: at most 1.5)" % (whole_median / transfer_median))


main()
