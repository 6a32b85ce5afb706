"""The SPDX licence of an installed Debian package, read from its own copyright file.

A machine-readable copyright file (Debian's copyright format 1.0) states the
licence of the package's files in its "Files: *" paragraph; its short names
translate to SPDX identifiers by rule, so a package renamed from one release
to the next (libqt6core6 to libqt6core6t64) needs no edit here. Where Debian
still writes the file as prose (glibc, gcc, libxcb), the licence is the one
that prose states, recorded by source package, which keeps its name when its
binary packages are renamed."""
import re
import subprocess

COPYRIGHT_FORMAT = re.compile(r"https?://www\.debian\.org/doc/packaging-manuals/copyright-format/1\.0/?")

# Read from each source package's copyright file, which is prose; "gcc" stands
# for every gcc-N.
PROSE_LICENCES = {
    "glibc": "LGPL-2.1-or-later",
    "gcc": "GPL-3.0-or-later WITH GCC-exception-3.1",
    "libxcb": "X11",
}

# Debian's short names that are not SPDX identifiers with a version suffix.
NAMES = {"expat": "MIT", "x11": "X11", "bsd-2-clause": "BSD-2-Clause",
         "bsd-3-clause": "BSD-3-Clause", "zlib": "Zlib", "isc": "ISC", "mit": "MIT"}
VERSIONED = re.compile(r"(?i)(a?gpl|lgpl|gfdl|mpl|apache|artistic)-([0-9.]+)(\+?)")
EXCEPTIONS = {"qt-1.0": "Qt-GPL-exception-1.0", "gcc-3.1": "GCC-exception-3.1"}


def spdx_term(term):
    """One short name ("LGPL-3", "GPL-2+", "GPL-3 with Qt-1.0 exception") as SPDX."""
    exception = None
    match = re.fullmatch(r"(.+?)\s+with\s+(\S+)\s+exception", term, re.IGNORECASE)
    if match:
        term, exception = match[1], EXCEPTIONS.get(match[2].lower())
        if exception is None:
            raise ValueError(f"no SPDX identifier for the exception {match[2]}")
    versioned = VERSIONED.fullmatch(term)
    if versioned:
        family, version, later = versioned.groups()
        version += ".0" if "." not in version else ""
        spdx = f"{family.upper()}-{version}-{'or-later' if later else 'only'}"
    elif term.lower() in NAMES:
        spdx = NAMES[term.lower()]
    else:
        raise ValueError(f"no SPDX identifier for the licence {term}")
    return f"{spdx} WITH {exception}" if exception else spdx


def spdx_expression(short):
    """A copyright file's licence line ("LGPL-3 or GPL-2") as an SPDX expression."""
    alternatives = [[spdx_term(t.strip()) for t in re.split(r"\s+and\s+", part, flags=re.I)]
                    for part in re.split(r"\s+or\s+", short.strip(), flags=re.IGNORECASE)]
    # SPDX binds AND tighter than OR, as Debian's short names do.
    return " OR ".join(" AND ".join(terms) for terms in alternatives)


def paragraphs(text):
    """The stanzas of a copyright file, each as its fields' first lines."""
    for block in re.split(r"\n\s*\n", text):
        fields = {}
        for line in block.splitlines():
            match = re.match(r"([A-Za-z-]+):\s*(.*)", line)
            if match:
                fields[match[1].lower()] = match[2]
        if fields:
            yield fields


def from_copyright(text):
    """The licence of "Files: *", or None where the file is not machine-readable."""
    stanzas = list(paragraphs(text))
    if not stanzas or not COPYRIGHT_FORMAT.fullmatch(stanzas[0].get("format", "")):
        return None
    for stanza in stanzas[1:]:
        if stanza.get("files", "").split() == ["*"] and stanza.get("license"):
            return spdx_expression(stanza["license"])
    raise ValueError("the copyright file has no licence for Files: *")


def source_package(name):
    return subprocess.run(["dpkg-query", "-W", "-f=${source:Package}", name], capture_output=True,
                          text=True, check=True).stdout.strip()


def licence(name):
    """The installed package's licence; ValueError where neither source tells it."""
    with open(f"/usr/share/doc/{name}/copyright", encoding="utf-8") as f:
        text = f.read()
    try:
        found = from_copyright(text)
    except ValueError as error:
        raise ValueError(f"{name}: {error}") from None
    if found is not None:
        return found
    source = re.sub(r"-[0-9.]+$", "", source_package(name))
    if source not in PROSE_LICENCES:
        raise ValueError(f"{name}: its copyright file is prose, and no licence is recorded for its "
                         f"source {source}; read it and add it to PROSE_LICENCES")
    return PROSE_LICENCES[source]
