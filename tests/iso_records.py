"""ISO 2709 records built in the tests' Python scripts, byte for byte as LUMA lays them out."""


def iso_record(fields, coding=b" "):
    """A record of (tag, data bytes) fields: a MARC 21 book leader whose position 9 is `coding`
    (blank, or b"a" for UTF-8), the directory, the fields with their terminators."""
    directory = data = b""
    for tag, body in fields:
        body += b"\x1e"
        directory += tag.encode() + b"%04d%05d" % (len(body), len(data))
        data += body
    directory += b"\x1e"
    base = 24 + len(directory)
    leader = b"%05dnam " % (base + len(data) + 1) + coding + b"22%05d   4500" % base
    return leader + directory + data + b"\x1d"
