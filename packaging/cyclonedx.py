"""A CycloneDX 1.5 bill of materials as the package builders write it: the same
bytes for the same package, whenever and wherever it is built. The time is the
sources' (SOURCE_DATE_EPOCH), the serial number follows from the content, and
every list is in a fixed order."""
import datetime
import hashlib
import json
import os
import subprocess
import uuid
from urllib.parse import quote

DEBIAN = {"name": "Debian", "url": ["https://www.debian.org"]}
SUPPLIER = {"name": "Orvale", "url": ["https://www.orvale.example"]}
LICENCE = "LicenseRef-proprietary"
# The serial numbers' own namespace: a document's number is a name in it.
NAMESPACE = uuid.UUID("6f1d2c58-3e0b-5c57-9a41-7b1e2f0c8d93")


def sha256(stream):
    """The SHA-256 of what an open binary file holds from where it stands."""
    digest = hashlib.sha256()
    for block in iter(lambda: stream.read(1 << 16), b""):
        digest.update(block)
    return digest.hexdigest()


def licences(expression):
    """One SPDX identifier as an id; a compound expression or a LicenseRef as it is."""
    if " " in expression or expression.startswith("LicenseRef-"):
        return [{"expression": expression}]
    return [{"license": {"id": expression}}]


def purl(kind, namespace, name, version, qualifiers=None, subpath=None):
    """A package URL; qualifiers are sorted and values percent-encoded as the purl rules say."""
    where = f"{quote(namespace, safe='')}/" if namespace else ""
    text = f"pkg:{kind}/{where}{quote(name, safe='')}@{quote(version, safe='')}"
    if qualifiers:
        text += "?" + "&".join(f"{k}={quote(v, safe='')}" for k, v in sorted(qualifiers.items()))
    if subpath:
        text += "#" + "/".join(quote(part, safe="") for part in subpath.split("/"))
    return text


def _os_release():
    with open("/etc/os-release", encoding="utf-8") as f:
        fields = dict(line.rstrip("\n").split("=", 1) for line in f if "=" in line)
    return {key: value.strip('"') for key, value in fields.items()}


def distro():
    """debian-12: the release whose packages the build used."""
    release = _os_release()
    return "-".join(release[key] for key in ("ID", "VERSION_ID") if key in release)


def _support():
    with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), "support.json"),
              encoding="utf-8") as f:
        return json.load(f)


def properties(pairs):
    return [{"name": name, "value": value} for name, value in pairs]


def debian_support(what):
    """Who keeps WHAT (a package or a source built here) fixed: the security support of
    the Debian release the build ran on."""
    version = _os_release().get("VERSION_ID", "")
    release = _support()["debian"].get(version)
    if release is None:
        raise SystemExit(f"no support dates recorded for Debian {version} in packaging/support.json")
    return [
        ("velunor:support:supplier", f"Debian Security Team, then Debian LTS: {what} in {release['name']}"),
        ("velunor:support:until", release["security_until"]),
        ("velunor:support:lts-until", release["lts_until"]),
    ]


def qt_support_until():
    return _support()["qt"]["until"]


def qt_support():
    """Qt's own support of the line the Windows packages carry."""
    qt = _support()["qt"]
    return [("velunor:support:upstream", f"{qt['supplier']}: {qt['line']}, {qt['level']}"),
            ("velunor:support:upstream-until", qt["until"])]


def debian_package(name, licence, **extra):
    """An installed Debian package as a component, at its installed version."""
    version, arch = subprocess.run(["dpkg-query", "-W", "-f=${Version} ${Architecture}", name],
                                   capture_output=True, text=True, check=True).stdout.split()
    url = purl("deb", "debian", name, version, {"arch": arch, "distro": distro()})
    extra["properties"] = extra.get("properties", []) + properties(debian_support(name))
    return component("library", name, version, DEBIAN, licence, url, **extra)


def component(kind, name, version, supplier, licence, package_url, **extra):
    """A component whose bom-ref is its package URL, so references read as what they name."""
    entry = {"type": kind, "bom-ref": package_url, "supplier": supplier, "name": name,
             "version": version, "licenses": licences(licence), "purl": package_url}
    entry.update(extra)
    return entry


def walk(components):
    """Every component, and those it carries inside it, depth first."""
    for c in components:
        yield c
        yield from walk(c.get("components", []))


def shipped_file(path, digest, owner):
    """A file the package ships: named by its path in the package, hashed, and
    carrying the version, supplier and licence of the component it belongs to."""
    return component("file", path, owner["version"], owner["supplier"], owner_licence(owner),
                     owner["purl"] + "#" + path, hashes=[{"alg": "SHA-256", "content": digest}])


def owner_licence(owner):
    choice = owner["licenses"][0]
    return choice.get("expression") or choice["license"]["id"]


def document(subject, components, dependencies, tool, references=None):
    """The whole document; the time comes from SOURCE_DATE_EPOCH, which the build always sets."""
    when = datetime.datetime.fromtimestamp(int(os.environ["SOURCE_DATE_EPOCH"]), datetime.timezone.utc)
    bom = {
        "bomFormat": "CycloneDX",
        "specVersion": "1.5",
        "serialNumber": "",
        "version": 1,
        "metadata": {
            "timestamp": when.strftime("%Y-%m-%dT%H:%M:%SZ"),
            "tools": {"components": [{"type": "application", "name": tool, "supplier": SUPPLIER}]},
            "component": subject,
            "supplier": SUPPLIER,
        },
        "components": components,
        "dependencies": [{"ref": ref, "dependsOn": sorted(on)} for ref, on in sorted(dependencies.items())],
    }
    if references:
        bom["externalReferences"] = references
    bom["serialNumber"] = serial(bom)
    return bom


def serial(bom):
    """The serial number that follows from the rest of the document."""
    return "urn:uuid:" + str(uuid.uuid5(NAMESPACE, text(dict(bom, serialNumber=""))))


def text(bom):
    return json.dumps(bom, indent=2, ensure_ascii=False) + "\n"


def write(bom, path):
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write(text(bom))
