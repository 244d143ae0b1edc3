// Makes a certificate authority trusted, or no longer trusted, for the whole
// machine: the tests of TLS clients trust a CA they made themselves, only
// for as long as they run.
// Usage: trust_root add|remove CERT.der
// add puts the certificate in the machine's "Root" store (replacing an
// equal one); remove takes it out again. Exit code 0 when done, 1 when the
// file cannot be read or the store refuses, 2 for wrong arguments.
#include <windows.h>
#include <wincrypt.h>

#include <cstdio>
#include <cwchar>
#include <vector>

#include "base/handles.h"

namespace {

struct CertStoreTraits {
  using Handle = HCERTSTORE;
  static Handle Invalid() { return nullptr; }
  static bool IsValid(Handle h) { return h != nullptr; }
  static void Close(Handle h) { CertCloseStore(h, 0); }
};
using CertStore = ScopedHandle<CertStoreTraits>;

struct CertificateTraits {
  using Handle = PCCERT_CONTEXT;
  static Handle Invalid() { return nullptr; }
  static bool IsValid(Handle h) { return h != nullptr; }
  static void Close(Handle h) { CertFreeCertificateContext(h); }
};
using Certificate = ScopedHandle<CertificateTraits>;

bool ReadWholeFile(const wchar_t* path, std::vector<BYTE>& bytes) {
  FILE* file = _wfopen(path, L"rb");
  if (!file) return false;
  BYTE buffer[4096];
  size_t count;
  while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.insert(bytes.end(), buffer, buffer + count);
  const bool complete = std::feof(file) && !std::ferror(file);
  std::fclose(file);
  return complete && !bytes.empty();
}

bool Add(HCERTSTORE store, const std::vector<BYTE>& der) {
  return CertAddEncodedCertificateToStore(store, X509_ASN_ENCODING, der.data(), static_cast<DWORD>(der.size()),
                                          CERT_STORE_ADD_REPLACE_EXISTING, nullptr);
}

// Every copy of the certificate leaves the store; none there is no error.
bool Remove(HCERTSTORE store, const std::vector<BYTE>& der) {
  Certificate wanted(
      CertCreateCertificateContext(X509_ASN_ENCODING, der.data(), static_cast<DWORD>(der.size())));
  if (!wanted) return false;
  while (PCCERT_CONTEXT found = CertFindCertificateInStore(store, X509_ASN_ENCODING, 0, CERT_FIND_EXISTING,
                                                           wanted.Get(), nullptr)) {
    if (!CertDeleteCertificateFromStore(found)) return false;  // frees `found` either way
  }
  return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) return 2;
  const bool add = std::wcscmp(argv[1], L"add") == 0;
  if (!add && std::wcscmp(argv[1], L"remove") != 0) return 2;
  std::vector<BYTE> der;
  if (!ReadWholeFile(argv[2], der)) return 1;
  CertStore store(CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, L"Root"));
  if (!store) return 1;
  return (add ? Add(store.Get(), der) : Remove(store.Get(), der)) ? 0 : 1;
}
