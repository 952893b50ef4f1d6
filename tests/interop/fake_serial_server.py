"""pyserial's RFC 2217 server (serial.rfc2217.PortManager) in front of a fake serial device.

The device echoes every byte it is sent and prints what it sees, one line each, flushed:
"baud N", "dtr 0|1", "rts 0|1", "purge", "data HEX" (the bytes of one write). The first line is
"listening on 127.0.0.1:PORT". It serves one connection after another until it is killed.
Usage: fake_serial_server.py [PORT]   (0 or none: a free port)
"""
import socket
import sys

import serial.rfc2217


def say(text):
    print(text, flush=True)


class FakeDevice:
    """What PortManager drives: line settings, modem lines, buffers; records what changes."""

    def __init__(self):
        object.__setattr__(self, "baudrate", 9600)
        for name, value in (("bytesize", 8), ("parity", "N"), ("stopbits", 1), ("dtr", False),
                            ("rts", False), ("xonxoff", False), ("rtscts", False),
                            ("break_condition", False), ("cts", True), ("dsr", True),
                            ("ri", False), ("cd", True)):
            object.__setattr__(self, name, value)

    def __setattr__(self, name, value):
        object.__setattr__(self, name, value)
        if name == "baudrate":
            say("baud %d" % value)
        elif name in ("dtr", "rts"):
            say("%s %d" % (name, int(value)))

    def reset_input_buffer(self):
        say("purge")

    def reset_output_buffer(self):
        pass


class Connection:
    def __init__(self, sock):
        self.sock = sock

    def write(self, data):
        self.sock.sendall(data)


def main():
    port = int(sys.argv[1]) if len(sys.argv) > 1 else 0
    listener = socket.socket()
    listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    listener.bind(("127.0.0.1", port))
    listener.listen(1)
    say("listening on 127.0.0.1:%d" % listener.getsockname()[1])
    while True:
        sock, _ = listener.accept()
        try:  # a client may be gone before the options are offered (a probe of the server)
            device = FakeDevice()
            manager = serial.rfc2217.PortManager(device, Connection(sock))
            while True:
                received = sock.recv(4096)
                if not received:
                    break
                data = b"".join(manager.filter(received))
                if data:
                    say("data " + data.hex())
                    sock.sendall(b"".join(manager.escape(data)))
        except OSError:
            pass
        sock.close()


if __name__ == "__main__":
    main()
