#!/usr/bin/env python3
"""Reads ITU-T ASN.1 modules and writes the type tables of the aligned PER walker (PerSchema.h).

Usage: asn1_tables.py OUTPUT.cpp MODULE.asn...

Covers what the H.225.0, H.235 and H.245 modules use: SEQUENCE, SET, CHOICE, SEQUENCE OF,
SET OF, ENUMERATED, INTEGER, BOOLEAN, NULL, BIT STRING, OCTET STRING, the character string
types, OBJECT IDENTIFIER, TYPE-IDENTIFIER.&Type, parameterised types, extension markers and
the PER-visible constraints (value ranges, SIZE, FROM, their extension markers). Constraints
that PER does not see (WITH COMPONENTS, CONSTRAINED BY) are read and dropped.
"""
import re
import sys

# Octet strings whose contents the standards define as an encoding of another type.
CONTAINED = {
    'fastStart': 'OpenLogicalChannel',
    'h245Control': 'MultimediaSystemControlMessage',
    'parallelH245Control': 'MultimediaSystemControlMessage',
}

CHAR_TYPES = {
    'IA5String': (''.join(chr(c) for c in range(128)), 8),
    'VisibleString': (''.join(chr(c) for c in range(32, 127)), 8),
    'PrintableString': (" '()+,-./0123456789:=?ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 8),
    'NumericString': (' 0123456789', 4),
    'BMPString': (None, 16),
}


class AsnError(Exception):
    pass


def tokenize(text):
    out = []
    i, n = 0, len(text)
    while i < n:
        c = text[i]
        if c.isspace():
            i += 1
        elif text.startswith('--', i):
            j = i + 2
            while j < n and text[j] != '\n' and not text.startswith('--', j):
                j += 1
            i = j + 2 if text.startswith('--', j) else j
        elif c == '"':
            j = text.index('"', i + 1)
            out.append(('str', text[i + 1:j]))
            i = j + 1
        elif text.startswith('::=', i):
            out.append(('op', '::='))
            i += 3
        elif text.startswith('...', i):
            out.append(('op', '...'))
            i += 3
        elif text.startswith('..', i):
            out.append(('op', '..'))
            i += 2
        elif text.startswith('[[', i) or text.startswith(']]', i):
            out.append(('op', text[i:i + 2]))
            i += 2
        elif c in '{}(),^|;.!<>@[]:':
            out.append(('op', c))
            i += 1
        elif c == '&':
            m = re.compile(r'&[A-Za-z][A-Za-z0-9-]*').match(text, i)
            out.append(('id', m.group(0)))
            i = m.end()
        elif c.isdigit() or (c == '-' and i + 1 < n and text[i + 1].isdigit()):
            m = re.compile(r'-?\d+').match(text, i)
            out.append(('num', int(m.group(0))))
            i = m.end()
        elif c.isalpha():
            m = re.compile(r'[A-Za-z][A-Za-z0-9]*(?:-[A-Za-z0-9]+)*').match(text, i)
            out.append(('id', m.group(0)))
            i = m.end()
        else:
            raise AsnError('unexpected character %r' % c)
    return out


class Node:
    """A type as written: kind, constraints, components."""

    def __init__(self, kind, **kw):
        self.kind = kind
        self.ref = None          # Reference: the name; parameterised: (name, actual nodes)
        self.components = []     # (name, node, optional) root first
        self.root = 0            # number of root components / alternatives / enumerations
        self.ext = False
        self.items = []          # ENUMERATED names
        self.element = None      # SEQUENCE OF element
        self.contained = None    # OpenType / OCTET STRING: name of the type held
        self.lower = None
        self.upper = None
        self.range_ext = False
        self.alphabet = None
        self.string_type = None
        self.name = ''
        self.__dict__.update(kw)


class Parser:
    def __init__(self, tokens):
        self.t = tokens
        self.p = 0

    def peek(self, k=0):
        return self.t[self.p + k] if self.p + k < len(self.t) else ('eof', None)

    def next(self):
        tok = self.peek()
        self.p += 1
        return tok

    def accept(self, value):
        if self.peek()[1] == value:
            self.p += 1
            return True
        return False

    def expect(self, value):
        tok = self.next()
        if tok[1] != value:
            raise AsnError('expected %r, found %r near token %d' % (value, tok, self.p))
        return tok

    def skip_balanced(self):
        opener = self.next()[1]
        closer = {'{': '}', '(': ')'}[opener]
        depth = 1
        while depth:
            v = self.next()[1]
            if v == opener:
                depth += 1
            elif v == closer:
                depth -= 1

    def module(self):
        """(assignments, parameterised) of one module."""
        while not self.accept('BEGIN'):
            self.next()
        if self.accept('EXPORTS'):
            while not self.accept(';'):
                self.next()
        if self.accept('IMPORTS'):
            while not self.accept(';'):
                self.next()
        types, params = {}, {}
        while self.peek()[1] != 'END':
            name = self.next()[1]
            if self.peek()[1] == '{':
                self.next()
                names = []
                while not self.accept('}'):
                    tok = self.next()
                    if tok[0] == 'id':
                        names.append(tok[1])
                self.expect('::=')
                start = self.p
                self.type()
                params[name] = (names, self.t[start:self.p])
                continue
            self.expect('::=')
            node = self.type()
            types[name] = node
        return types, params

    def type(self):
        tok = self.next()
        v = tok[1]
        if v in ('SEQUENCE', 'SET'):
            if self.peek()[1] == '{':
                node = self.components(Node('Sequence'))
            else:
                node = Node('SequenceOf')
                if self.peek()[1] == '(':
                    self.constraint(node)
                elif self.accept('SIZE'):
                    self.size_constraint(node)
                self.expect('OF')
                if self.peek()[0] == 'id' and self.peek(1)[0] == 'id' and self.peek(1)[1][0].isupper() and \
                        self.peek()[1][0].islower():
                    self.next()  # a named element: SEQUENCE OF name Type
                node.element = self.type()
        elif v == 'CHOICE':
            node = self.components(Node('Choice'))
        elif v == 'ENUMERATED':
            node = Node('Enumerated')
            self.expect('{')
            root, ext, in_ext = [], [], False
            while not self.accept('}'):
                tok = self.next()
                if tok[1] == '...':
                    in_ext = True
                    node.ext = True
                elif tok[0] == 'id':
                    number = None
                    if self.accept('('):
                        number = self.next()[1]
                        self.expect(')')
                    (ext if in_ext else root).append((number, tok[1]))
            if all(n is not None for n, _ in root):
                root.sort()
            node.items = [x for _, x in root] + [x for _, x in ext]
            node.root = len(root)
        elif v == 'INTEGER':
            node = Node('Integer')
            if self.peek()[1] == '{':
                self.skip_balanced()
        elif v == 'BOOLEAN':
            node = Node('Boolean')
        elif v == 'NULL':
            node = Node('Null')
        elif v == 'OBJECT':
            self.expect('IDENTIFIER')
            node = Node('ObjectId')
        elif v == 'OCTET':
            self.expect('STRING')
            node = Node('OctetString')
        elif v == 'BIT':
            self.expect('STRING')
            node = Node('BitString')
            if self.peek()[1] == '{':
                self.skip_balanced()
        elif v in CHAR_TYPES:
            node = Node('CharString', string_type=v)
        elif v == 'GeneralString':
            node = Node('GeneralString')
        elif v == 'TYPE-IDENTIFIER':
            self.expect('.')
            self.next()  # &Type
            node = Node('OpenType')
            if self.peek()[1] == '(':
                # TYPE-IDENTIFIER.&Type(Name): the octets hold a value of Name.
                if self.peek(1)[0] == 'id' and self.peek(1)[1][0].isupper():
                    node.contained = self.peek(1)[1]
                self.skip_balanced()
        elif tok[0] == 'id' and v[0].isupper():
            node = Node('Ref', ref=v)
            if self.peek()[1] == '{':
                self.next()
                actual = []
                while not self.accept('}'):
                    if self.accept(','):
                        continue
                    actual.append(self.type())
                node.ref = (v, actual)
        else:
            raise AsnError('unknown type %r near token %d' % (tok, self.p))
        while self.peek()[1] == '(':
            self.constraint(node)
        return node

    def components(self, node):
        self.expect('{')
        in_ext = False
        while not self.accept('}'):
            if self.accept(','):
                continue
            if self.accept('...'):
                node.ext = True
                in_ext = not in_ext
                continue
            if self.peek()[1] == '[[':
                raise AsnError('extension addition groups are not read')
            name = self.next()[1]
            sub = self.type()
            optional = False
            if self.accept('OPTIONAL'):
                optional = True
            elif self.accept('DEFAULT'):
                raise AsnError('DEFAULT is not read')
            node.components.append((name, sub, optional, in_ext))
            if not in_ext:
                node.root += 1
        # Root components after a second "..." come before the additions in PER.
        roots = [c for c in node.components if not c[3]]
        additions = [c for c in node.components if c[3]]
        node.components = [(a, b, c) for a, b, c, _ in roots + additions]
        return node

    def size_constraint(self, node):
        inner = Node('Integer')
        self.constraint(inner)
        node.lower, node.upper, node.range_ext = inner.lower, inner.upper, inner.range_ext

    def constraint(self, node):
        """One parenthesised constraint, applied to node."""
        self.expect('(')
        while True:
            tok = self.peek()
            v = tok[1]
            if v == ')':
                self.next()
                return
            if v == 'SIZE':
                self.next()
                self.size_constraint(node)
            elif v == 'FROM':
                self.next()
                self.expect('(')
                s = self.next()
                node.alphabet = s[1]
                self.expect(')')
            elif v == '...':
                self.next()
                node.range_ext = True
            elif v in ('WITH', 'CONSTRAINED'):
                while self.peek()[1] != '{':
                    self.next()
                self.skip_balanced()
            elif v == '(':
                self.constraint(node)
            elif tok[0] == 'num' or v == 'MIN':
                self.next()
                lower = v if tok[0] == 'num' else None
                upper = lower
                if self.accept('..'):
                    u = self.next()
                    upper = u[1] if u[0] == 'num' else None
                node.lower, node.upper = lower, upper
            else:
                self.next()  # ",", "^", a type name in a type constraint


class Emitter:
    def __init__(self, modules):
        self.modules = modules  # [(types, params)] in the order given; a name is looked up in
        self.module = 0         # the module being read first, then in the others
        self.rows = []          # emitted types
        self.index = {}         # name -> row
        self.components = []
        self.names = []
        self.alphabets = ''
        self.pending = []

    def lookup(self, name, table):
        order = [self.module] + [m for m in range(len(self.modules)) if m != self.module]
        for m in order:
            if name in self.modules[m][table]:
                return m
        raise AsnError('type %s is not defined' % name)

    def resolve_named(self, name):
        module = self.lookup(name, 0)
        key = (module, name)
        if key in self.index:
            return self.index[key]
        saved, self.module = self.module, module
        node = self.modules[module][0][name]
        if node.kind == 'Ref':
            row = self.emit(node, {})
            self.index[key] = row
        else:
            row = len(self.rows)
            self.rows.append(None)
            self.index[key] = row
            self.fill(row, node, name, {})
        self.module = saved
        return row

    def emit(self, node, env, context=None):
        """Row index of node (a type written in place or a reference)."""
        if node.kind == 'Ref':
            if isinstance(node.ref, tuple):
                name, actual = node.ref
                module = self.lookup(name, 1)
                formal, body = self.modules[module][1][name]
                sub = Parser(list(body)).type()
                inner_env = dict(zip(formal, [(a, env) for a in actual]))
                saved, self.module = self.module, module
                row = self.emit_with(sub, inner_env, name, node)
                self.module = saved
                return row
            if node.ref in env:
                target, target_env = env[node.ref]
                return self.emit_constrained(target, target_env, node)
            row = self.resolve_named(node.ref)
            if self.has_constraint(node):
                return self.copy_constrained(row, node)
            return row
        row = len(self.rows)
        self.rows.append(None)
        self.fill(row, node, '', env, context)
        return row

    def emit_with(self, sub, env, name, ref):
        row = len(self.rows)
        self.rows.append(None)
        self.fill(row, sub, name, env)
        return row

    def emit_constrained(self, target, env, ref):
        row = self.emit(target, env)
        if self.has_constraint(ref):
            return self.copy_constrained(row, ref)
        return row

    @staticmethod
    def has_constraint(node):
        return node.lower is not None or node.upper is not None or node.alphabet is not None or node.range_ext

    def copy_constrained(self, row, node):
        base = self.rows[row]
        if base is None:
            return row  # recursive reference with its own constraints: keep the base
        new = dict(base)
        new['name'] = ''
        self.apply_constraints(new, node)
        self.rows.append(new)
        return len(self.rows) - 1

    def apply_constraints(self, row, node):
        if node.lower is not None:
            row['lower'] = node.lower
        if node.upper is not None:
            row['upper'] = node.upper
        if node.range_ext:
            row['range_ext'] = True
        if node.alphabet is not None and row['kind'] == 'CharString':
            self.set_alphabet(row, node.alphabet)

    def set_alphabet(self, row, alphabet):
        chars = ''.join(sorted(set(alphabet)))
        n = len(chars)
        bits = max(1, (n - 1).bit_length())
        for b in (1, 2, 4, 8, 16):
            if bits <= b:
                bits = b
                break
        row['char_bits'] = bits
        row['indexed'] = ord(chars[-1]) > (1 << bits) - 1
        row['alphabet'] = chars

    def fill(self, row, node, name, env, context=None):
        r = {'name': name, 'kind': node.kind, 'char_bits': 0, 'lower': None, 'upper': None,
             'range_ext': False, 'ext': node.ext, 'first': 0, 'root': 0, 'count': 0, 'element': -1,
             'ip': False, 'indexed': False, 'alphabet': None}
        self.rows[row] = r
        kind = node.kind
        if kind == 'CharString':
            alphabet, bits = CHAR_TYPES[node.string_type]
            r['char_bits'] = bits
            if node.string_type == 'NumericString':
                self.set_alphabet(r, alphabet)
        if kind in ('Sequence', 'Choice'):
            comps = []
            for cname, cnode, optional in node.components:
                comps.append((cname, self.emit(cnode, env, cname), optional))
            r['first'] = len(self.components)
            r['root'] = node.root
            r['count'] = len(comps)
            self.components.extend(comps)
            if kind == 'Sequence' and len(comps) == 2:
                a, b = self.rows[comps[0][1]], self.rows[comps[1][1]]
                if a and b and a['kind'] == 'OctetString' and a['lower'] == 4 and a['upper'] == 4 and \
                        b['kind'] == 'Integer' and b['lower'] == 0 and b['upper'] == 65535:
                    r['ip'] = True
        elif kind == 'Enumerated':
            r['first'] = len(self.names)
            r['root'] = node.root
            r['count'] = len(node.items)
            self.names.extend(node.items)
        elif kind == 'SequenceOf':
            elem = node.element
            if context in CONTAINED and elem.kind == 'OctetString':
                e = self.emit(elem, env)
                self.rows[e] = dict(self.rows[e])
                self.rows[e]['element'] = self.resolve_named(CONTAINED[context])
                r['element'] = e
            else:
                r['element'] = self.emit(elem, env)
        elif kind == 'OpenType' and node.contained:
            r['element'] = self.resolve_named(node.contained)
        self.apply_constraints(r, node)

    def write(self, out):
        kinds = {'Null': 'Null', 'Boolean': 'Boolean', 'Integer': 'Integer', 'Enumerated': 'Enumerated',
                 'BitString': 'BitString', 'OctetString': 'OctetString', 'CharString': 'CharString',
                 'GeneralString': 'GeneralString', 'ObjectId': 'ObjectId', 'Sequence': 'Sequence',
                 'Choice': 'Choice', 'SequenceOf': 'SequenceOf', 'OpenType': 'OpenType'}
        w = out.write
        w('// Generated by asn1_tables.py from the ITU-T ASN.1 modules; do not edit.\n')
        w('#include "PerSchema.h"\n\nnamespace vexa::ip {\n\n')
        # constinit: the tables are constants in the library's data, not built when it is
        # loaded (a constructor for thousands of rows also takes the compiler minutes).
        w('constinit const PerType kPerTypes[] = {\n')
        alphabets = ''
        for r in self.rows:
            flags = []
            if r['ext']:
                flags.append('kExtensible')
            if r['lower'] is not None:
                flags.append('kHasLower')
            if r['upper'] is not None:
                flags.append('kHasUpper')
            if r['range_ext']:
                flags.append('kRangeExtensible')
            if r['ip']:
                flags.append('kIpAddress')
            first, root = r['first'], r['root']
            if r['kind'] == 'CharString' and r['alphabet']:
                first = len(alphabets)
                root = len(r['alphabet'])
                alphabets += r['alphabet']
                if r['indexed']:
                    flags.append('kIndexedAlphabet')
            w('    {"%s", PerKind::%s, %d, %s, %dLL, %dLL, %d, %d, %d, %d},\n' % (
                r['name'], kinds[r['kind']], r['char_bits'], ' | '.join(flags) or '0',
                r['lower'] or 0, r['upper'] or 0, first, root, r['count'], r['element']))
        w('};\n\nconst uint32_t kPerTypeCount = %d;\n\n' % len(self.rows))
        w('constinit const PerComponent kPerComponents[] = {\n')
        for name, t, optional in self.components:
            w('    {"%s", %d, %s},\n' % (name, t, 'kOptional' if optional else '0'))
        w('    {"", -1, 0},\n};\n\n')
        w('constinit const std::string_view kPerNames[] = {\n')
        for name in self.names:
            w('    "%s",\n' % name)
        w('    "",\n};\n\n')
        esc = ''.join('\\\\' if c == '\\' else '\\"' if c == '"' else c for c in alphabets)
        w('const char kPerAlphabets[] = "%s";\n\n' % esc)
        w('int32_t FindPerType(std::string_view name) {\n')
        w('    for (uint32_t i = 0; i < kPerTypeCount; ++i)\n')
        w('        if (!kPerTypes[i].name.empty() && kPerTypes[i].name == name) return static_cast<int32_t>(i);\n')
        w('    return -1;\n}\n\n}  // namespace vexa::ip\n')


def main(argv):
    if len(argv) < 3:
        sys.stderr.write(__doc__)
        return 2
    modules = []
    for path in argv[2:]:
        with open(path, encoding='utf-8') as f:
            modules.append(Parser(tokenize(f.read())).module())
    e = Emitter(modules)
    for top in ('RasMessage', 'H323-UserInformation', 'MultimediaSystemControlMessage'):
        e.module = next(i for i, m in enumerate(modules) if top in m[0])
        e.resolve_named(top)
    with open(argv[1], 'w', encoding='utf-8') as out:
        e.write(out)
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
