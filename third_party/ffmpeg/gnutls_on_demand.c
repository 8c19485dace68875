// The GnuTLS functions the bundled FFmpeg calls, loading GnuTLS on the first call instead of
// with the player. Only a clip over https or tls needs it, yet linked directly it and the seven
// libraries it needs cost about 2.3 MiB and a global initialisation in every process that
// attaches the player. Each function here has GnuTLS's own prototype (the header checks them)
// and forwards to the function of that name in libgnutls; should the library be missing, the
// calls fail as GnuTLS calls fail, and FFmpeg reports the clip as unreachable.

#include <dlfcn.h>
#include <gnutls/gnutls.h>
#include <gnutls/x509.h>
#include <pthread.h>
#include <stddef.h>

#if GNUTLS_VERSION_MAJOR != 3
#error "the soname below is GnuTLS 3's"
#endif

static void* library;
static pthread_once_t loaded = PTHREAD_ONCE_INIT;

static void load(void) { library = dlopen("libgnutls.so.30", RTLD_NOW | RTLD_LOCAL); }

// The address of GnuTLS's function `name`, or NULL when GnuTLS cannot be loaded.
static void* resolve(const char* name) {
  pthread_once(&loaded, load);
  return library ? dlsym(library, name) : NULL;
}

// A function returning `type`, with `failed` when GnuTLS is not there; ISO C has no cast from
// an object pointer to a function pointer, so the address is copied through a union.
#define FORWARD(type, name, failed, params, args)    \
  type name params {                                 \
    union {                                          \
      void* address;                                 \
      type(*call) params;                            \
    } real = {resolve(#name)};                       \
    return real.address ? real.call args : (failed); \
  }
#define FORWARD_VOID(name, params, args) \
  void name params {                     \
    union {                              \
      void* address;                     \
      void(*call) params;                \
    } real = {resolve(#name)};           \
    if (real.address) real.call args;    \
  }

FORWARD(int, gnutls_global_init, GNUTLS_E_INTERNAL_ERROR, (void), ())
FORWARD_VOID(gnutls_global_deinit, (void), ())
FORWARD(const char*, gnutls_strerror, "GnuTLS (libgnutls.so.30) could not be loaded", (int error),
        (error))
FORWARD(int, gnutls_error_is_fatal, 1, (int error), (error))
FORWARD(int, gnutls_init, GNUTLS_E_INTERNAL_ERROR, (gnutls_session_t * session, unsigned flags),
        (session, flags))
FORWARD_VOID(gnutls_deinit, (gnutls_session_t session), (session))
FORWARD(int, gnutls_bye, GNUTLS_E_INTERNAL_ERROR,
        (gnutls_session_t session, gnutls_close_request_t how), (session, how))
FORWARD(int, gnutls_handshake, GNUTLS_E_INTERNAL_ERROR, (gnutls_session_t session), (session))
FORWARD(ssize_t, gnutls_record_send, GNUTLS_E_INTERNAL_ERROR,
        (gnutls_session_t session, const void* data, size_t size), (session, data, size))
FORWARD(ssize_t, gnutls_record_recv, GNUTLS_E_INTERNAL_ERROR,
        (gnutls_session_t session, void* data, size_t size), (session, data, size))
FORWARD(int, gnutls_server_name_set, GNUTLS_E_INTERNAL_ERROR,
        (gnutls_session_t session, gnutls_server_name_type_t type, const void* name, size_t length),
        (session, type, name, length))
FORWARD(int, gnutls_set_default_priority, GNUTLS_E_INTERNAL_ERROR, (gnutls_session_t session),
        (session))
FORWARD(int, gnutls_credentials_set, GNUTLS_E_INTERNAL_ERROR,
        (gnutls_session_t session, gnutls_credentials_type_t type, void* cred),
        (session, type, cred))
FORWARD_VOID(gnutls_transport_set_ptr, (gnutls_session_t session, gnutls_transport_ptr_t ptr),
             (session, ptr))
FORWARD_VOID(gnutls_transport_set_pull_function, (gnutls_session_t session, gnutls_pull_func pull),
             (session, pull))
FORWARD_VOID(gnutls_transport_set_push_function, (gnutls_session_t session, gnutls_push_func push),
             (session, push))
FORWARD(int, gnutls_certificate_allocate_credentials, GNUTLS_E_INTERNAL_ERROR,
        (gnutls_certificate_credentials_t * res), (res))
FORWARD_VOID(gnutls_certificate_free_credentials, (gnutls_certificate_credentials_t sc), (sc))
FORWARD_VOID(gnutls_certificate_set_verify_flags,
             (gnutls_certificate_credentials_t res, unsigned flags), (res, flags))
FORWARD(int, gnutls_certificate_set_x509_system_trust, GNUTLS_E_INTERNAL_ERROR,
        (gnutls_certificate_credentials_t cred), (cred))
FORWARD(int, gnutls_certificate_set_x509_trust_file, GNUTLS_E_INTERNAL_ERROR,
        (gnutls_certificate_credentials_t cred, const char* cafile, gnutls_x509_crt_fmt_t type),
        (cred, cafile, type))
FORWARD(int, gnutls_certificate_set_x509_key_file, GNUTLS_E_INTERNAL_ERROR,
        (gnutls_certificate_credentials_t res, const char* certfile, const char* keyfile,
         gnutls_x509_crt_fmt_t type),
        (res, certfile, keyfile, type))
FORWARD(int, gnutls_certificate_verify_peers2, GNUTLS_E_INTERNAL_ERROR,
        (gnutls_session_t session, unsigned* status), (session, status))
FORWARD(const gnutls_datum_t*, gnutls_certificate_get_peers, NULL,
        (gnutls_session_t session, unsigned* list_size), (session, list_size))
FORWARD(gnutls_certificate_type_t, gnutls_certificate_type_get, GNUTLS_CRT_UNKNOWN,
        (gnutls_session_t session), (session))
FORWARD(int, gnutls_x509_crt_init, GNUTLS_E_INTERNAL_ERROR, (gnutls_x509_crt_t * cert), (cert))
FORWARD_VOID(gnutls_x509_crt_deinit, (gnutls_x509_crt_t cert), (cert))
FORWARD(int, gnutls_x509_crt_import, GNUTLS_E_INTERNAL_ERROR,
        (gnutls_x509_crt_t cert, const gnutls_datum_t* data, gnutls_x509_crt_fmt_t format),
        (cert, data, format))
FORWARD(unsigned, gnutls_x509_crt_check_hostname, 0, (gnutls_x509_crt_t cert, const char* hostname),
        (cert, hostname))
