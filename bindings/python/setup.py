"""The wheel's platform follows the native library the package carries.

The module loads the library with ctypes and holds no compiled code of its
own, so any Python 3 of the platform can use it: the tag is py3-none-<the
library's platform>, win_amd64 for ostrel.dll, linux_x86_64 for libostrel.so;
without a library inside it is an ordinary pure wheel. Everything else is in
pyproject.toml.
"""
import os

from setuptools import Distribution, setup
from wheel.bdist_wheel import bdist_wheel

HERE = os.path.dirname(os.path.abspath(__file__))
PLATFORMS = {"ostrel.dll": "win_amd64", "libostrel.so": "linux_x86_64",
             "libostrel.so.1": "linux_x86_64"}


def library_platform():
    found = {platform for name, platform in PLATFORMS.items()
             if os.path.isfile(os.path.join(HERE, "ostrel", name))}
    if len(found) > 1:
        raise SystemExit("ostrel/ holds the native libraries of several platforms: "
                         + ", ".join(sorted(found)) + "; a wheel carries one")
    return found.pop() if found else None


class LibraryDistribution(Distribution):
    """With a native library inside, the package is installed as platform
    code (the wheel's root), not as pure Python."""

    def has_ext_modules(self):
        return library_platform() is not None


class PlatformWheel(bdist_wheel):
    def finalize_options(self):
        self.platform = library_platform()
        if self.platform:
            self.plat_name = self.platform
            self.plat_name_supplied = True
        super().finalize_options()

    def get_tag(self):
        if self.platform:
            return "py3", "none", self.platform
        return super().get_tag()


setup(distclass=LibraryDistribution, cmdclass={"bdist_wheel": PlatformWheel})
