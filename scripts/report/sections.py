"""The parts of the validation report that come from documents and packages: the
packages' hashes, the bills of materials, the self-test reports, the release
notes and the Markdown documents in docs/."""
import collections
import hashlib
import html
import json
import os
import re

import markdown

ID_IN_TEXT = re.compile(r"\b((?:CALC|PARSE|WIN|KEY|TEXT|A11Y|ROB|PKG|SELF)-[0-9]+)\b")


def esc(text):
    return html.escape(str(text), quote=True)


def link_ids(fragment, known):
    """Every requirement ID in an HTML fragment's text becomes a link to its row."""
    parts = re.split(r"(<[^>]+>)", fragment)
    for i, part in enumerate(parts):
        if not part.startswith("<"):
            parts[i] = ID_IN_TEXT.sub(
                lambda m: f'<a href="#req-{m[1]}">{m[1]}</a>' if m[1] in known else m[1], part)
    return "".join(parts)


def document(path, known):
    """A Markdown document from docs/ as HTML, its title dropped, its headings a level down,
    links to other documents of the set turned into links within the report."""
    with open(path, encoding="utf-8") as f:
        text = f.read()
    text = re.sub(r"\A# .*\n", "", text)
    text = re.sub(r"^(#+) ", lambda m: "#" * (len(m[1]) + 1) + " ", text, flags=re.M)
    text = re.sub(r"\]\((requirements|known-anomalies|accessibility)\.md\)", r"](#\1)", text)
    return link_ids(markdown.markdown(text, extensions=["tables"]), known)


def sha256(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


def packages(paths):
    rows = "".join(f"<tr><td><code>{esc(os.path.basename(p))}</code></td><td class=num>{os.path.getsize(p):,}</td>"
                   f"<td><code class=hash>{sha256(p)}</code></td></tr>" for p in paths)
    if not rows:
        return "<p>No package was built in this run.</p>"
    return f"<table><tr><th>File</th><th>Bytes</th><th>SHA-256</th></tr>{rows}</table>"


def walk(components, depth=0):
    for c in components:
        yield depth, c
        yield from walk(c.get("components", []), depth + 1)


def licence(c):
    choice = c.get("licenses", [{}])[0]
    return choice.get("expression") or choice.get("license", {}).get("id", "")


def support(c):
    """Who supports a component and until when, as its bill of materials says."""
    facts = {p["name"]: p["value"] for p in c.get("properties", [])}
    if "velunor:support:supplier" not in facts:
        return ""
    text = f"{facts['velunor:support:supplier']}, until {facts['velunor:support:until']}"
    if "velunor:support:lts-until" in facts:
        text += f" (Debian LTS to {facts['velunor:support:lts-until']})"
    if "velunor:support:upstream" in facts:
        text += f"; {facts['velunor:support:upstream']}, until {facts['velunor:support:upstream-until']}"
    return text


def sbom(path):
    """Each component but the files: name, version, supplier, licence, support; and how many files."""
    with open(path, encoding="utf-8") as f:
        bom = json.load(f)
    if "vulnerabilities" in bom:
        return vex(path, bom)
    subject = bom["metadata"]["component"]
    files = sum(1 for _, c in walk(bom["components"]) if c["type"] == "file")
    rows = "".join(
        f"<tr><td>{'&#160;&#160;' * depth}{esc(c['name'])}</td><td>{esc(c['version'])}</td>"
        f"<td>{esc(c['supplier']['name'])}</td><td><code>{esc(licence(c))}</code></td>"
        f"<td>{esc(support(c))}</td></tr>"
        for depth, c in walk([subject] + bom["components"]) if c["type"] != "file")
    notes = "".join(f"<p>{esc(p['value'])}.</p>" for p in subject.get("properties", [])
                    if p["name"] == "velunor:vulnerabilities")
    return (f"<h3><code>{esc(os.path.basename(path))}</code></h3>"
            f"<p>CycloneDX {esc(bom['specVersion'])}, {esc(bom['serialNumber'])}; {files} shipped files, "
            f"each with its SHA-256. Components (indented: carried inside the one above):</p>"
            f"<table><tr><th>Component</th><th>Version</th><th>Supplier</th><th>Licence</th>"
            f"<th>Supported by, until</th></tr>{rows}</table>{notes}")


def vex(path, bom):
    """The statement on each known vulnerability: how many in each state, then each one."""
    facts = bom["metadata"].get("properties", [])
    reviewed = next((p["value"] for p in facts if p["name"] == "velunor:vex:reviewed"), "")
    sources = [p["value"] for p in facts if p["name"] == "velunor:vex:source"]
    states = collections.Counter(v["analysis"]["state"] for v in bom["vulnerabilities"])
    rows = "".join(
        f"<tr><td>{esc(v['id'])}</td><td>{esc(v['affects'][0]['ref'].split('#', 1)[-1])}</td>"
        f"<td>{esc(v['analysis']['state'])}</td>"
        f"<td>{esc(v['analysis'].get('justification', ', '.join(v['analysis'].get('response', []))))}</td>"
        f"<td>{esc(v['analysis']['detail'])}</td></tr>" for v in bom["vulnerabilities"])
    return (f"<h3><code>{esc(os.path.basename(path))}</code></h3>"
            f"<p>CycloneDX {esc(bom['specVersion'])} VEX, reviewed {esc(reviewed)}: "
            f"{esc(', '.join(f'{n} {state}' for state, n in sorted(states.items())))}. "
            f"Sources: {esc('; '.join(sources))}.</p>"
            f"<table><tr><th>Vulnerability</th><th>Component</th><th>State</th><th>Why, or the response</th>"
            f"<th>Detail</th></tr>{rows}</table>")


def self_test(title, path):
    if not os.path.exists(path):
        return f"<h3>{esc(title)}</h3><p class=notrun>Not run.</p>"
    with open(path, encoding="utf-8", errors="replace") as f:
        return f"<h3>{esc(title)}</h3><pre>{esc(f.read().rstrip())}</pre>"


def release_notes(changelog):
    """Each entry of packaging/changelog: version, date and its points."""
    with open(changelog, encoding="utf-8") as f:
        text = f.read()
    out = []
    for entry in re.finditer(r"^\S+ \((\S+)\) [^\n]*\n(.*?)^ -- ([^\n]*?)  ([^\n]+)$", text, re.M | re.S):
        points = re.split(r"^  \* ", entry[2], flags=re.M)[1:]
        items = "".join(f"<li>{esc(' '.join(p.split()))}</li>" for p in points)
        out.append(f"<h3>{esc(entry[1])} &#8212; {esc(entry[4])}</h3><ul>{items}</ul>")
    return "".join(out)
