// Where a Linux path lies for SteamVR, which on Linux Steam starts inside
// its Linux runtime's container (pressure-vessel): the container brings its
// own /usr and libraries and shows only some of the host's folders. And the
// mount of a running AppImage, which goes away when the AppImage exits.
// Pure text on comparablePosixPath's form, the same on every host.
#pragma once

#include <string>
#include <string_view>

namespace ostrel::manifestcheck {

enum class ContainerView {
  Shown,     // the host's folder, as it is
  Replaced,  // the container's own folder in its place (/usr, /bin, /sbin, /lib*)
  Hidden,    // nothing of the host's there
};

struct ContainerPlace {
  ContainerView view = ContainerView::Shown;
  // The folder that decides ("/usr", "/usr/local", "/lib64", "/data"); "/"
  // for a file at the root; empty when Shown.
  std::string folder;
};

// How the container shows the absolute path `posixPath`. Shown: anything
// under /home, /opt, /mnt, /media, /srv, /tmp, /nix, /gnu or /run/media, and
// any relative path (nothing to judge). /usr/local is named apart: people
// install there thinking it is theirs, and the container replaces it too.
ContainerPlace containerPlace(std::string_view posixPath);

// The mount folder ("/tmp/.mount_Ostrel1a2b3c") when `posixPath` lies inside
// an AppImage's mount; empty otherwise.
std::string appImageMount(std::string_view posixPath);

}  // namespace ostrel::manifestcheck
