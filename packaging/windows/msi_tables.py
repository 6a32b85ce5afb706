"""The tables of an MSI database as msitools exports them, and the folders its
Directory table describes."""
import subprocess


def table(msi, name):
    """The rows of one table as dicts by column name; none when the table is absent."""
    out = subprocess.run(["msiinfo", "export", msi, name], capture_output=True, text=True)
    if out.returncode != 0:
        return []
    lines = out.stdout.replace("\r\n", "\n").split("\n")
    columns = lines[0].split("\t")
    # Lines 2 and 3 hold the column types and the table's keys.
    return [dict(zip(columns, line.split("\t"))) for line in lines[3:] if line]


def long_name(default_dir):
    """The long name of a Directory or File name field ("short|long", or "target:source")."""
    target = default_dir.split(":")[0]
    return target.split("|")[-1]


def directory_paths(msi):
    """Each directory's path from the root, as a list of folder names."""
    rows = {row["Directory"]: row for row in table(msi, "Directory")}
    paths = {}

    def path(directory):
        if directory not in paths:
            row = rows[directory]
            parent = row["Directory_Parent"]
            name = long_name(row["DefaultDir"])
            here = [] if not parent or parent == directory else path(parent)
            paths[directory] = here + ([] if name in (".", "SourceDir") else [name])
        return paths[directory]

    for directory in rows:
        path(directory)
    return paths


def parents(msi):
    """Each directory's chain of directory ids from itself up to the root."""
    rows = {row["Directory"]: row["Directory_Parent"] for row in table(msi, "Directory")}
    chains = {}
    for directory in rows:
        chain, at = [], directory
        while at and at not in chain:
            chain.append(at)
            at = rows.get(at)
        chains[directory] = chain
    return chains
