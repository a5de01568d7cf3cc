#!/usr/bin/env python3
"""Writes each JSON file given on the command line in the compact layout of the
framework's writer, one document per line, using Python's own JSON reader. The JSON
tests compare this with what the framework makes of the same files.

Reader and writer rules reproduced here: other number tokens are converted by the
reader's digit accumulation and power-of-ten scaling; integer tokens wrap to 32-bit signed integers; other
numbers that are integral and within the 32-bit range print as integers, the rest with
six decimals ('%.6f'), NaN and infinities as null; strings escape '"', '\\', the short
control escapes and other code units below 0x20 as \\u00xx; a repeated key keeps its
first position and takes the last value."""
import json
import math
import sys


class IntToken:
    def __init__(self, text):
        self.text = text


def int_token(text):
    return IntToken(text)


DBL_MAX = 1.7976931348623157e308
DBL_MIN = 2.2250738585072014e-308


def power_of_ten(e, limit):
    """10^e by repeated squaring; None when a step would pass limit."""
    result, square = 1.0, 10.0
    while e > 0:
        if e & 1:
            if result > limit / square:
                return None
            result *= square
        e >>= 1
        if e > 0:
            if square > limit / square:
                return None
            square *= square
    return result


def float_token(text):
    """A token with a point or an exponent: all digits accumulated into a double, then
    scaled by a power of ten; +inf when that power leaves the normal range."""
    negative = text.startswith('-')
    body = text.lstrip('-')
    mantissa, exponent = body, '0'
    for mark in 'eE':
        if mark in body:
            mantissa, exponent = body.split(mark, 1)
    whole, _, fraction = mantissa.partition('.')
    m = 0.0
    for d in whole + fraction:
        m = m * 10.0 + int(d)
    exponent = exponent if exponent not in ('', '+', '-') else '0'
    scale = int(exponent) - len(fraction)
    if scale > 0:
        p = power_of_ten(scale, DBL_MAX)
        if p is None:
            return math.inf
        m *= p
    elif scale < 0:
        p = power_of_ten(-scale, 1.0 / DBL_MIN)
        if p is None:
            return math.inf
        m /= p
    return -m if negative else m


def pairs(items):
    out = {}
    for k, v in items:
        out[k] = v  # a repeated key keeps its first position
    return out


def number(value):
    if isinstance(value, IntToken):
        digits = value.text.lstrip('-')
        v = int(digits) % 2**32
        if value.text.startswith('-'):
            v = (-v) % 2**32
        if v >= 2**31:
            v -= 2**32
        return str(v)
    if math.isnan(value) or math.isinf(value):
        return 'null'
    if value == math.trunc(value) and -2**31 <= value <= 2**31 - 1:
        return str(int(value))
    return '%.6f' % value


SHORT = {'"': '\\"', '\\': '\\\\', '\b': '\\b', '\t': '\\t', '\n': '\\n', '\f': '\\f', '\r': '\\r'}


def string(text):
    out = ['"']
    for ch in text:
        if ch in SHORT:
            out.append(SHORT[ch])
        elif ord(ch) < 0x20:
            out.append('\\u00%02x' % ord(ch))
        else:
            out.append(ch)
    out.append('"')
    return ''.join(out)


def write(value):
    if value is None:
        return 'null'
    if value is True:
        return 'true'
    if value is False:
        return 'false'
    if isinstance(value, (IntToken, float)):
        return number(value)
    if isinstance(value, str):
        return string(value)
    if isinstance(value, list):
        return '[' + ','.join(write(v) for v in value) + ']'
    return '{' + ','.join(string(k) + ':' + write(v) for k, v in value.items()) + '}'


def main():
    out = sys.stdout.buffer
    for path in sys.argv[1:]:
        with open(path, encoding='utf-8-sig') as f:
            doc = json.load(f, parse_int=int_token, parse_float=float_token, object_pairs_hook=pairs)
        out.write(write(doc).encode('utf-8', 'surrogatepass') + b'\n')


main()
