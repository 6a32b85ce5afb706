"""What the Windows Qt's build recorded about itself: its features, as its own
configuration headers state them, and the Debian source it was built from."""
import glob
import re


def features(prefix):
    """QT_FEATURE_x -> 1 or -1, from the configuration headers of the installed Qt."""
    found = {}
    for header in glob.glob(f"{prefix}/include/**/q*config*.h", recursive=True):
        with open(header, encoding="utf-8") as f:
            for name, value in re.findall(r"#define QT_FEATURE_(\w+) (-?1)", f.read()):
                found[name] = int(value)
    return found


def debian_source(prefix):
    """(source package, revision) the Qt under PREFIX was built from."""
    with open(f"{prefix}/share/velunor/debian-source", encoding="utf-8") as f:
        name, revision = f.read().split()
    return name, revision


def debian_patches(prefix):
    """The patches the Debian source applied, as its debian/patches/series lists them."""
    with open(f"{prefix}/share/velunor/debian-patches-series", encoding="utf-8") as f:
        return {line.split()[0] for line in f if line.strip() and not line.lstrip().startswith("#")}


def project_patches(prefix):
    """This project's own patches, applied after Debian's."""
    with open(f"{prefix}/share/velunor/project-patches", encoding="utf-8") as f:
        return f.read().split()
