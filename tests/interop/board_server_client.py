"""korvane-board-server against pyserial's RFC 2217 client (serial.serial_for_url).

Checks that the client negotiates, that the server takes 1200, 9600 and 57600 bit/s (pyserial
fails when a change is not confirmed), that DTR is the programming reset and RTS the run reset,
and that bytes pass both ways, 0xFF included (the boot firmware echoes a byte it refuses).
Usage: board_server_client.py PATH-TO-korvane-board-server
"""
import subprocess
import sys
import time

import serial


def read_until(port, wanted, seconds=3.0):
    """What arrives until `wanted` is among it or the time is up."""
    got = b""
    end = time.monotonic() + seconds
    while wanted not in got and time.monotonic() < end:
        got += port.read(port.in_waiting or 1)
    return got


def expect(what, wanted, got):
    if wanted not in got:
        sys.exit("%s: expected %r in %r" % (what, wanted, got))


def pulse(port, line):
    setattr(port, line, False)
    time.sleep(0.05)
    setattr(port, line, True)


def main():
    server = subprocess.Popen([sys.argv[1], "--listen", "127.0.0.1:0"], stdout=subprocess.PIPE,
                              text=True)
    try:
        address = server.stdout.readline().split()[-1]
        port = serial.serial_for_url("rfc2217://" + address, baudrate=1200, timeout=0.2)
        port.dtr = port.rts = True
        pulse(port, "dtr")  # programming reset: the boot firmware waits for a CR at any rate
        time.sleep(0.3)
        port.write(b"\r")
        expect("programming mode at 1200", b">", read_until(port, b">"))
        port.write(b"\xff")
        expect("0xFF echoed with a refusal", b"\xff?\r\n", read_until(port, b"?\r\n"))
        port.baudrate = 57600
        port.baudrate = 9600
        pulse(port, "rts")  # run reset: a board never set up runs its program at 9600
        time.sleep(0.3)
        port.write(b"\r")
        expect("board program's prompt at 9600", b"]", read_until(port, b"]"))
        port.close()
    finally:
        server.kill()
        server.wait()
    print("ok")


if __name__ == "__main__":
    main()
