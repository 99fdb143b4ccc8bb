#!/usr/bin/env bash
# Makes a certificate authority of its own and a server certificate signed by
# it, for the local server's --tls: DIR/ca.pem (give it to the program as
# --ca-file), DIR/server.pem and DIR/server.key (the server's --cert, --key).
# The server certificate names localhost and 127.0.0.1, and NAME when given.
#   server/make_test_ca.sh DIR [NAME]
set -euo pipefail
dir="$1"
name="${2:-localhost}"
mkdir -p "$dir"
cd "$dir"
key() { openssl genpkey -algorithm EC -pkeyopt ec_paramgen_curve:prime256v1 -out "$1" 2>/dev/null; }
cat >ca.cnf <<CNF
[req]
distinguished_name = dn
prompt = no
[dn]
CN = Varnek Test CA
[ca]
basicConstraints = critical,CA:TRUE
keyUsage = critical,keyCertSign,cRLSign
subjectKeyIdentifier = hash
[server]
basicConstraints = critical,CA:FALSE
keyUsage = critical,digitalSignature,keyEncipherment
extendedKeyUsage = serverAuth
subjectAltName = DNS:localhost,IP:127.0.0.1,DNS:$name
authorityKeyIdentifier = keyid
CNF
key ca.key
openssl req -new -x509 -config ca.cnf -extensions ca -key ca.key -out ca.pem -days 30 2>/dev/null
key server.key
openssl req -new -config ca.cnf -key server.key -subj "/CN=$name" -out server.csr 2>/dev/null
openssl x509 -req -in server.csr -CA ca.pem -CAkey ca.key -CAcreateserial -days 30 \
  -extfile ca.cnf -extensions server -out server.pem 2>/dev/null
chmod 600 ca.key server.key
rm -f server.csr ca.srl
