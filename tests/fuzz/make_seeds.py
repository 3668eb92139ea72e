#!/usr/bin/env python3
"""Writes the seed inputs of the fuzz targets into corpus/<target>/ (small valid and invalid
examples). Inputs that once found a fault are kept there too, under names of their own;
this script leaves them alone."""
import os
from functools import reduce

HERE = os.path.dirname(os.path.abspath(__file__))


def frame(marker, code, payload):
    body = bytes([ord(marker), code, len(payload)]) + payload
    return body + bytes([sum(body) % 256])


def deliveries(side, *pieces):
    """The frame-assembly input: the side byte, then each delivery with its length byte."""
    data = bytes([side])
    for piece in pieces:
        assert len(piece) < 256
        data += bytes([len(piece)]) + piece
    return data


def container(tag, body):
    image = tag + body
    return image + bytes([reduce(lambda a, b: a ^ b, image, 0)])


def texts(*values):
    return b"".join(bytes([len(v)]) + v for v in values)


def write(target, name, data):
    folder = os.path.join(HERE, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "seed-" + name), "wb") as f:
        f.write(data)


RESPONSE, REQUEST = 0, 1
logout_ack = frame("n", 0x02, b"")
logon = frame("n", 0x01, b"T5")
status = frame("n", 0x50, bytes([0x15, 5, 0x34, 0x12, 0x83, 0, 26, 12, 7, 1, 30, 5, 0, 0]))
record = frame("n", 0x47, bytes([26, 12, 7, 1, 30, 5, 21, 5, 0x83, 0]))
history_end = frame("n", 0x46, b"")
longest = frame("n", 0x04, bytes(range(100)))
overlong = b"n\x01\x65" + bytes(101) + b"\x00"
bad_checksum = logon[:-1] + bytes([(logon[-1] + 1) % 256])

write("frame_assembly", "empty", bytes([RESPONSE]))
write("frame_assembly", "one-frame", deliveries(RESPONSE, logout_ack))
write("frame_assembly", "split-frame", deliveries(RESPONSE, status[:2], status[2:9], status[9:]))
write("frame_assembly", "two-frames-one-delivery", deliveries(RESPONSE, logon + status))
write("frame_assembly", "noise-then-frame", deliveries(RESPONSE, b"\x00\x13xyz", record))
write("frame_assembly", "false-start-in-noise", deliveries(RESPONSE, b"\x6e\x01\x05ab" + record))
write("frame_assembly", "bad-checksum-then-frame", deliveries(RESPONSE, bad_checksum, record))
write("frame_assembly", "length-over-limit", deliveries(RESPONSE, overlong[:60], overlong[60:], logon))
write("frame_assembly", "longest-payload", deliveries(RESPONSE, longest[:50], longest[50:]))
write("frame_assembly", "history-stream",
      deliveries(RESPONSE, frame("n", 0x49, b"\xf0\x7f"), record * 3, record[:5], record[5:] + history_end))
write("frame_assembly", "incomplete-at-end", deliveries(RESPONSE, status[:-1]))
write("frame_assembly", "request-status", deliveries(REQUEST, frame("N", 0x50, b"G")))
write("frame_assembly", "request-block",
      deliveries(REQUEST, frame("N", 0x65, bytes([3]) + bytes(range(128)))[:70],
                 frame("N", 0x65, bytes([3]) + bytes(range(128)))[70:]))

startup = texts(b"", b"", b"", b"", b"", b"") + bytes([132, 138, 0, 0, 1, 16])
saved = texts(b"0157", b"", b"", b"", b"Rejestrator nr.1", b"") + bytes([132, 138, 0, 0, 1, 16])
polish = texts(b"1234", b"Ch\xb3odnia 2", b"Magazyn \xa3\xf3d\x9f", b"\x81\x83\x88\x90\x98",
               b"TC-8", b"K" * 255) + bytes([100, 160, 0x85, 0x05, 255, 0])
write("config_file", "startup-values", container(b"rcf", startup))
write("config_file", "saved-defaults", container(b"rcf", saved))
write("config_file", "all-code-page-bytes", container(b"rcf", polish))
write("config_file", "bytes-after-last-field", container(b"rcf", saved + b"\x00\xff"))
write("config_file", "body-shorter-than-lengths", container(b"rcf", texts(b"0157") + b"\x09abc"))
write("config_file", "capital-tag", container(b"RCF", saved))
write("config_file", "firmware-tag", container(b"rfr", saved))
write("config_file", "wrong-check-byte", container(b"rcf", saved)[:-1] + b"\x00")
write("config_file", "tag-only", b"rcf")
write("config_file", "two-bytes", b"ra")
write("config_file", "empty", b"")

image = bytes(i % 251 for i in range(16380))
write("firmware_file", "one-byte", container(b"rfr", b"\x42"))
write("firmware_file", "one-block", container(b"rfr", image[:128]))
write("firmware_file", "block-and-a-byte", container(b"rfr", image[:129]))
write("firmware_file", "empty-image", container(b"rfr", b""))
write("firmware_file", "largest", container(b"rfr", image))
write("firmware_file", "one-byte-too-large", container(b"rfr", image + b"\x00"))
write("firmware_file", "config-tag", container(b"rcf", image[:300]))
write("firmware_file", "wrong-check-byte", container(b"rfr", image[:200])[:-1] + b"\x01")
write("firmware_file", "short", b"rf")
