#!/usr/bin/env bash
# "conversor REMESSA" on the example data directory, without a screen: the
# client files of the five products become the bank's files, byte for byte
# as written here, and move to the holding directory.
set -u
bin=$(cd "$1" && pwd)
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
falhas=0
falha() { echo "FALHOU: $*"; falhas=$((falhas + 1)); }
# Lines padded to a width, each ending in CR LF.
registros() {  # largura linha...
  local w=$1; shift
  for l in "$@"; do printf "%-${w}s\r\n" "$l"; done
}
igual() {  # descricao esperado(arquivo) obtido(arquivo)
  cmp -s "$2" "$3" || { falha "$1"; diff <(od -c "$2") <(od -c "$3") | head -5; }
}

export CONVERSOR_SEM_JANELA=1 CONVERSOR_DATA=20261209
"$bin/conversor-instala" "$dir/dados" --exemplo >/dev/null || { echo "instalação falhou"; exit 1; }
cd "$dir/dados"
mkdir -p COPIA

printf '34100000HEADER ACME\n34100013DETALHE\n34199999\n' >ACME240.001
printf '01REMESSA01COBRANCA BETA UM\r\n1 TITULO 1\r\n9\r\n' >BETA400.001
printf '01REMESSA01COBRANCA BETA DOIS\r\n1 TITULO 2\r\n9\r\n' >beta400.002
printf '01REMESSA01COBRANCA DELTA\r\n1 DESCONTO\r\n9\r\n' >DELTA.001
printf '34100000RIO\r\n34100013VENDOR 240\r\n34199999\r\n' >RIO240.001
printf '00         REMESSA00VENDOR VALE\r\n01VENDOR 250\r\n09\r\n' >VALE250.001
printf 'COFAP\r\n' >COFAPREM.001
printf 'NOVO\r\n' >NOVO.001
printf 'IGNORADO\r\n' >BETA400.TXT
cp ACME240.001 BETA400.001 beta400.002 DELTA.001 RIO240.001 VALE250.001 "$dir/"

"$bin/conversor" REMESSA 2>"$dir/err" </dev/null
status=$?
# Until the report engine lands, writing the log as PDF may fail with its own
# message; that is the only error allowed.
pdf="NÃO FOI POSSÍVEL A CRIAÇÃO DO ARQUIVO AUXILIAR PARA A REMESSA DO PDF."
erros=$(grep -c "^ATENÇÃO" "$dir/err")
erros_pdf=$(grep -c "^ATENÇÃO: $pdf" "$dir/err")
if [ "$erros" != "$erros_pdf" ] || { [ "$status" != 0 ] && [ "$erros_pdf" = 0 ]; } || [ "$status" -gt 1 ]; then
  falha "REMESSA terminou com status $status"; cat "$dir/err"
fi
for f in ARQUIVO_REMESSA_CONCATENACAO_20261209_*.PDF; do
  [ -e "$f" ] || continue
  [ "$(head -c 4 "$f")" = "%PDF" ] || falha "relatório $f não é PDF"
done

registros 240 "34100000HEADER ACME" "34100013DETALHE" "34199999" >"$dir/esperado"
igual "Cobrança 240" "$dir/esperado" CB240912.01
registros 400 "01REMESSA01COBRANCA BETA UM" "1 TITULO 1" "9" \
              "01REMESSA01COBRANCA BETA DOIS" "1 TITULO 2" "9" >"$dir/esperado"
igual "Cobrança 400" "$dir/esperado" CB400912.01
registros 250 "00         REMESSA00VENDOR VALE" "01VENDOR 250" "09" >"$dir/esperado"
igual "Vendor 250" "$dir/esperado" VD250912.01
registros 240 "34100000RIO" "34100013VENDOR 240" "34199999" >"$dir/esperado"
igual "Vendor 240" "$dir/esperado" VD240912.01
registros 400 "01REMESSA01COBRANCA DELTA" "1 DESCONTO" "9" >"$dir/esperado"
igual "Desconto 400" "$dir/esperado" DS400912.01

for f in ACME240.001 BETA400.001 DELTA.001 RIO240.001 VALE250.001; do
  [ -e "$f" ] && falha "$f continua no diretório"
  igual "cópia de $f" "$dir/$f" "COPIA/$f"
done
igual "cópia de beta400.002" "$dir/beta400.002" COPIA/BETA400.002
[ -e beta400.002 ] && falha "beta400.002 continua no diretório"
for f in COFAPREM.001 NOVO.001 BETA400.TXT; do
  [ -e "$f" ] || falha "$f saiu do diretório"
done

# Nothing left to read: no log, no message, status 0.
rm -f COFAPREM.001 NOVO.001
"$bin/conversor" REMESSA 2>"$dir/err" </dev/null; status=$?
[ "$status" = 0 ] && [ ! -s "$dir/err" ] || { falha "segunda execução: status $status"; cat "$dir/err"; }

[ $falhas -eq 0 ] && echo "concatenação: tudo certo"
exit $falhas
