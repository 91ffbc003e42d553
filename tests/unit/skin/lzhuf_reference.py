#!/usr/bin/env python3
"""A reference LZHUF decoder, written from the algorithm's description.

It shares no code with the C++ decoder and is organised differently: bits
come from a generator, the distance tables are built from the code-length
rule, and the tree rebuild inserts with bisect. Used to check that what
skinpack encodes is plain LZHUF.

Usage: lzhuf_reference.py IN OUT
"""
import bisect
import struct
import sys

RING, LOOKAHEAD, THRESHOLD = 4096, 60, 2
SYMBOLS = 256 - THRESHOLD + LOOKAHEAD  # 314
NODES = 2 * SYMBOLS - 1                # 627
ROOT = NODES - 1
LIMIT = 0x8000

# Upper six bits of a distance: 1 code of 3 bits, 3 of 4, 8 of 5, 12 of 6,
# 24 of 7 and 16 of 8, in ascending order, looked up by the next 8 bits.
_LENGTHS = [3] * 1 + [4] * 3 + [5] * 8 + [6] * 12 + [7] * 24 + [8] * 16
UPPER = [u for u, n in enumerate(_LENGTHS) for _ in range(1 << (8 - n))]
LENGTH = [n for n in _LENGTHS for _ in range(1 << (8 - n))]


class Tree:
    def __init__(self):
        self.freq = [1] * SYMBOLS
        self.son = [NODES + s for s in range(SYMBOLS)]
        pair = 0
        while len(self.freq) < NODES:
            self.freq.append(self.freq[pair] + self.freq[pair + 1])
            self.son.append(pair)
            pair += 2
        self._link()

    def _link(self):
        self.up = [0] * (NODES + SYMBOLS)
        for node, s in enumerate(self.son):
            self.up[s] = node
            if s < NODES:
                self.up[s + 1] = node

    def _rebuild(self):
        leaves = [((f + 1) // 2, s) for f, s in zip(self.freq, self.son) if s >= NODES]
        self.freq = [f for f, _ in leaves]
        self.son = [s for _, s in leaves]
        pair = 0
        while len(self.freq) < NODES:
            f = self.freq[pair] + self.freq[pair + 1]
            at = bisect.bisect_right(self.freq, f)
            self.freq.insert(at, f)
            self.son.insert(at, pair)
            pair += 2
        self._link()

    def count(self, symbol):
        if self.freq[ROOT] == LIMIT:
            self._rebuild()
        node = self.up[NODES + symbol]
        while True:
            self.freq[node] += 1
            k = self.freq[node]
            last = node
            while last + 1 < NODES and self.freq[last + 1] < k:
                last += 1
            if last != node:
                self.freq[node], self.freq[last] = self.freq[last], k
                a, b = self.son[node], self.son[last]
                self.son[node], self.son[last] = b, a
                for child, owner in ((a, last), (b, node)):
                    self.up[child] = owner
                    if child < NODES:
                        self.up[child + 1] = owner
                node = last
            if node == ROOT:
                return
            node = self.up[node]


def bit_source(data):
    for byte in data:
        for shift in range(7, -1, -1):
            yield (byte >> shift) & 1
    while True:
        yield 0


def decode(stream):
    (size,) = struct.unpack_from("<i", stream, 0)
    if size < 0:
        raise ValueError("negative size")
    bits = bit_source(stream[4:])
    tree = Tree()
    ring = bytearray(b" " * (RING - LOOKAHEAD) + b"\0" * LOOKAHEAD)
    pos = RING - LOOKAHEAD
    out = bytearray()
    while len(out) < size:
        node = tree.son[ROOT]
        while node < NODES:
            node = tree.son[node + next(bits)]
        symbol = node - NODES
        tree.count(symbol)
        if symbol < 256:
            chunk = [symbol]
        else:
            first = 0
            for _ in range(8):
                first = first << 1 | next(bits)
            low = first
            for _ in range(LENGTH[first] - 2):
                low = low << 1 | next(bits)
            distance = UPPER[first] << 6 | (low & 0x3F)
            start = pos - distance - 1
            chunk = []
            for k in range(symbol - 256 + THRESHOLD + 1):
                chunk.append(ring[(start + k) % RING])
                ring[(pos + k) % RING] = chunk[-1]
            pos = (pos + len(chunk)) % RING
            out.extend(chunk)
            continue
        ring[pos] = symbol
        pos = (pos + 1) % RING
        out.extend(chunk)
    return bytes(out[:size])


if __name__ == "__main__":
    data = open(sys.argv[1], "rb").read()
    open(sys.argv[2], "wb").write(decode(data))
