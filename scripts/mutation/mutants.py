"""The mutants of one C++ source: operators swapped, numbers changed, a call deleted.

Comments, preprocessor lines, strings and characters are never touched: a changed
message text is a question for the tests that compare texts whole, not for
operators, and most changes there would not even be a different program.
"""

import re
from dataclasses import dataclass

PUNCTUATORS = sorted(
    """<=> <<= >>= ... -> ++ -- << >> <= >= == != && || += -= *= /= %= &= |= ^= ::
    { } [ ] ( ) ; : , . ? ~ ! + - * / % ^ & | = < >""".split(),
    key=len,
    reverse=True,
)

TOKEN = re.compile(
    r"""(?P<ws>\s+)
    |(?P<comment>//[^\n]*|/\*.*?\*/)
    |(?P<raw>(?:u8|u|U|L)?R"(?P<delim>[^(\s]*)\(.*?\)(?P=delim)")
    |(?P<string>(?:u8|u|U|L)?"(?:\\.|[^"\\\n])*")
    |(?P<char>(?:u8|u|U|L)?'(?:\\.|[^'\\\n])*')
    |(?P<number>\.?\d(?:[eEpP][+-]|'(?=\w)|[\w.])*)
    |(?P<ident>[A-Za-z_]\w*)
    |(?P<punct>"""
    + "|".join(re.escape(p) for p in PUNCTUATORS)
    + r")|(?P<other>.)",
    re.S | re.X,
)


@dataclass(frozen=True)
class Token:
    kind: str
    text: str
    start: int
    space_before: bool
    space_after: bool = False


@dataclass(frozen=True)
class Mutant:
    path: str  # relative to the tree's root
    line: int
    start: int  # offset of the replaced text in the file
    end: int
    original: str
    replacement: str
    operator: str  # comparison, arithmetic, logic, boolean, number, call
    line_text: str  # the source line, stripped: names the mutant across edits
    occurrence: int = 1  # among mutants with the same line text and change

    def apply(self, source):
        return source[: self.start] + self.replacement + source[self.end :]

    @property
    def change(self):
        shown = self.replacement if self.replacement else "(deleted)"
        return f"`{self.original}` → `{shown}`"

    @property
    def key(self):
        suffix = f" #{self.occurrence}" if self.occurrence > 1 else ""
        return (self.path, self.line_text, self.change + suffix)


def tokenize(source):
    """Code tokens, with preprocessor lines and comments left out."""
    tokens = []
    at_line_start = True
    in_directive = False
    pos = 0
    while pos < len(source):
        m = TOKEN.match(source, pos)
        kind, text = m.lastgroup, m.group()
        if kind == "delim":
            kind = "raw"
        pos = m.end()
        if kind == "ws":
            if "\n" in text:
                # A directive goes on past a line that ends in a backslash.
                in_directive = in_directive and source[m.start() - 1] == "\\"
                at_line_start = True
            continue
        if kind == "comment":
            continue
        if at_line_start and text == "#":
            in_directive = True
        at_line_start = False
        if in_directive:
            continue
        space = m.start() > 0 and source[m.start() - 1].isspace()
        if tokens and tokens[-1].start + len(tokens[-1].text) < m.start():
            tokens[-1] = Token(**{**tokens[-1].__dict__, "space_after": True})
        tokens.append(Token(kind, text, m.start(), space))
    return tokens


def template_brackets(tokens):
    """Indices of the < and > (or >>) that enclose template arguments."""
    allowed = {"ident", "number"}
    allowed_punct = {"::", ",", "*", "&", "(", ")", "."}
    found = set()
    for i, tok in enumerate(tokens):
        if tok.text != "<" or i == 0:
            continue
        if tokens[i - 1].kind != "ident" or tokens[i - 1].text == "operator":
            continue
        depth, parens = 1, 0
        inner = [i]
        for j in range(i + 1, min(len(tokens), i + 40)):
            t = tokens[j]
            if t.text == "<":
                depth += 1
                inner.append(j)
            elif t.text in (">", ">>"):
                depth -= len(t.text)
                inner.append(j)
                if depth <= 0:
                    if parens == 0:
                        found.update(inner)
                    break
            elif t.text == "(":
                parens += 1
            elif t.text == ")":
                parens -= 1
                if parens < 0:
                    break
            elif t.kind not in allowed and t.text not in allowed_punct:
                break
    return found


SWAPS = {
    "<": ("<=", "comparison"),
    "<=": ("<", "comparison"),
    ">": (">=", "comparison"),
    ">=": (">", "comparison"),
    "==": ("!=", "comparison"),
    "!=": ("==", "comparison"),
    "+=": ("-=", "arithmetic"),
    "-=": ("+=", "arithmetic"),
    "*=": ("/=", "arithmetic"),
    "/=": ("*=", "arithmetic"),
    "++": ("--", "arithmetic"),
    "--": ("++", "arithmetic"),
    "<<": (">>", "arithmetic"),
    ">>": ("<<", "arithmetic"),
    "|=": ("&=", "arithmetic"),
    "&&": ("||", "logic"),
    "||": ("&&", "logic"),
    "true": ("false", "boolean"),
    "false": ("true", "boolean"),
}
# Binary only, written with a space each side as clang-format lays out an
# operation; `Type* p` and `Type& r` are declarations.
BINARY = {"+": "-", "-": "+", "*": "/", "/": "*", "%": "*", "|": "&", "&": "|"}
OPERAND_END = {"ident", "number", "string", "char", "raw"}


def changed_number(text):
    """The literal one step away, or None for a literal this does not read."""
    m = re.fullmatch(r"(0[xX][0-9a-fA-F']+|\d[\d']*)([uUlL]*)", text)
    if m:
        digits = m.group(1).replace("'", "")
        value = int(digits, 0) if digits.lower().startswith("0x") else int(digits)
        new = 0 if value == 1 else value + 1
        body = hex(new) if digits.lower().startswith("0x") else str(new)
        return body + m.group(2)
    m = re.fullmatch(r"(\d*\.?\d*)([eE][+-]?\d+)?([fFlL]?)", text)
    if m and any(c.isdigit() for c in m.group(1)):
        mantissa = m.group(1)
        # The last significant digit one up (a 9 one down): the smallest change
        # the literal can spell.
        idx = max(i for i, c in enumerate(mantissa) if c.isdigit())
        digit = int(mantissa[idx])
        new_digit = str(digit - 1 if digit == 9 else digit + 1)
        return mantissa[:idx] + new_digit + mantissa[idx + 1 :] + (m.group(2) or "") + m.group(3)
    return None


def call_statements(tokens):
    """(first, last) token indices of statements that are only a call: `a.b(x);`."""
    found = []
    for i, tok in enumerate(tokens):
        if i > 0 and tokens[i - 1].text not in (";", "{", "}"):
            continue
        if tok.kind != "ident" or tok.text in ("return", "else", "case", "delete", "throw"):
            continue
        j = i
        saw_call = False
        while j < len(tokens):
            t = tokens[j]
            if t.kind == "ident" and (j == i or tokens[j - 1].text in (".", "->", "::")):
                j += 1
            elif t.text in (".", "->", "::") and tokens[j - 1].kind == "ident" or (
                t.text in (".", "->") and tokens[j - 1].text == ")"
            ):
                j += 1
            elif t.text == "(" and tokens[j - 1].kind == "ident":
                depth = 0
                while j < len(tokens):
                    depth += {"(": 1, ")": -1}.get(tokens[j].text, 0)
                    j += 1
                    if depth == 0:
                        break
                saw_call = True
            else:
                break
        if saw_call and j < len(tokens) and tokens[j].text == ";" and tokens[j - 1].text == ")":
            found.append((i, j))
    return found


def mutants_of(path, source):
    tokens = tokenize(source)
    templates = template_brackets(tokens)
    line_starts = [0] + [m.end() for m in re.finditer("\n", source)]
    lines = source.split("\n")
    raw = []

    def add(start, end, replacement, operator):
        raw.append((start, end, source[start:end], replacement, operator))

    for i, tok in enumerate(tokens):
        prev = tokens[i - 1] if i > 0 else None
        nxt = tokens[i + 1] if i + 1 < len(tokens) else None
        if prev is not None and prev.text == "operator":
            continue
        if tok.text in SWAPS and i not in templates:
            if tok.text in ("<<", ">>") and not (tok.space_before and tok.space_after):
                continue
            replacement, operator = SWAPS[tok.text]
            add(tok.start, tok.start + len(tok.text), replacement, operator)
        elif tok.text in BINARY and tok.space_before and tok.space_after:
            if prev is not None and (prev.kind in OPERAND_END or prev.text in (")", "]")):
                add(tok.start, tok.start + 1, BINARY[tok.text], "arithmetic")
        elif tok.text == "!" and nxt is not None:
            add(tok.start, tok.start + 1, "", "logic")
        elif tok.kind == "number":
            # `= 0;` after a parameter list declares a pure virtual function.
            if prev is not None and prev.text == "=" and i >= 2 and tokens[i - 2].text in (
                ")",
                "const",
            ):
                continue
            new = changed_number(tok.text)
            if new is not None:
                add(tok.start, tok.start + len(tok.text), new, "number")
    for first, last in call_statements(tokens):
        start = tokens[first].start
        add(start, tokens[last].start + 1, "", "call")

    mutants = []
    seen = {}
    for start, end, original, replacement, operator in sorted(raw):
        line = next(n for n in range(len(line_starts), 0, -1) if line_starts[n - 1] <= start)
        text = " ".join(lines[line - 1].split())
        shown = original if operator != "call" else " ".join(original.split())
        ident = (text, shown, replacement)
        seen[ident] = seen.get(ident, 0) + 1
        mutants.append(
            Mutant(path, line, start, end, shown, replacement, operator, text, seen[ident])
        )
    return mutants
