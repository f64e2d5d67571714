"""Where the generator writes, and the interpreter it needs."""

import os
import sys

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
SKIN_DIR = os.path.join(ROOT, "resources", "skin")
DOCS_DIR = os.path.join(ROOT, "docs")


def require_cairo():
    try:
        import cairo  # noqa: F401
    except ImportError:
        # A pyenv or venv interpreter lacks Debian's python3-cairo; restart under the system one.
        if sys.executable != "/usr/bin/python3" and os.path.exists("/usr/bin/python3"):
            os.execv("/usr/bin/python3", ["/usr/bin/python3"] + sys.argv)
        raise
