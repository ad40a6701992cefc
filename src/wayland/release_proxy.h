#pragma once
#include <wayland-client.h>

// Objects bound at a version that has a release (or destroy) request are
// given back with it, so the compositor frees its side too; at older
// versions the proxy can only be dropped on our side.
template <typename Proxy>
void ReleaseProxy(Proxy* proxy, uint32_t releaseSince, void (*release)(Proxy*)) {
  if (proxy == nullptr) return;
  if (wl_proxy_get_version(reinterpret_cast<wl_proxy*>(proxy)) >= releaseSince) {
    release(proxy);
  } else {
    wl_proxy_destroy(reinterpret_cast<wl_proxy*>(proxy));
  }
}

// Destroys a proxy the saver may or may not hold, and forgets it.
template <typename Proxy>
void DestroyProxy(Proxy*& proxy, void (*destroy)(Proxy*)) {
  if (proxy != nullptr) destroy(proxy);
  proxy = nullptr;
}
