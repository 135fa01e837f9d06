// Adds a certificate authority (a DER file) to the machine's trusted root store, as an
// administrator would: the tests' throwaway authority, so that WinHTTP trusts the fake
// MusicBrainz server's certificate with all its checks on. Replaces an earlier copy of
// the same certificate.
//     tunova_trustca.exe Z:\path\ca.der
#include <windows.h>
#include <wincrypt.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::printf("usage: tunova_trustca CERTIFICATE.der\n");
        return 2;
    }
    std::ifstream file(argv[1], std::ios::binary);
    const std::vector<unsigned char> der((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (der.empty()) {
        std::printf("cannot read %s\n", argv[1]);
        return 1;
    }
    const HCERTSTORE store =
        CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, L"Root");
    if (!store) {
        std::printf("cannot open the Root store: error %lu\n", GetLastError());
        return 1;
    }
    const BOOL added = CertAddEncodedCertificateToStore(store, X509_ASN_ENCODING, der.data(),
                                                        static_cast<DWORD>(der.size()),
                                                        CERT_STORE_ADD_REPLACE_EXISTING, nullptr);
    const DWORD error = GetLastError();
    CertCloseStore(store, 0);
    if (!added) {
        std::printf("cannot add the certificate: error %lu\n", error);
        return 1;
    }
    return 0;
}
