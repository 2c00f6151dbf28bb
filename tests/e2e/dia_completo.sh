#!/usr/bin/env bash
# The demonstration day, whole: "conversor-instala --exemplo" on 9 December
# 2026, then scripts/executa-dia (concatenation, the four Vendor
# remittances, the three Vendor returns, the two segregation passes ending
# with BETA400's consolidation), every run ending with status 0.
#
# Afterwards the data directory is compared, file by file and byte for byte,
# with tests/data/dia_completo: the same names (subdirectories included),
# the same contents. What depends on the clock is normalised first:
# - the processing time of the Vendor bank files (header, columns 112-117),
#   which must be a time of day;
# - the segregation log, CV + day + hhmm + .LOG: its name(s) and the times in it; the
#   logs of the day are joined in name order (two passes may fall into two
#   minutes);
# - the PDF run logs are not compared: their names are counted by title and
#   each must be a PDF file.
#
# ATUALIZA_ESPERADO=1 rewrites tests/data/dia_completo from this run (check
# the differences before committing them).
set -u
bin=$(cd "$1" && pwd)
raiz=$(cd "$(dirname "$0")/../.." && pwd)
esperado="$raiz/tests/data/dia_completo"
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
falhas=0
falha() { echo "FALHOU: $*"; falhas=$((falhas + 1)); }

export CONVERSOR_SEM_JANELA=1 CONVERSOR_DATA=20261209
dados="$dir/dados"
"$bin/conversor-instala" "$dados" --exemplo >/dev/null || { echo "instalação falhou"; exit 1; }
"$raiz/scripts/executa-dia" "$bin" "$dados" >"$dir/saida" 2>&1 || { falha "dia terminou com erro"; cat "$dir/saida"; }
grep -q "^ATENÇÃO" "$dir/saida" && { falha "mensagem de erro no dia"; grep "^ATENÇÃO" "$dir/saida"; }

cd "$dados"
# PDF run logs: one per run, by title.
conta() { ls $1 2>/dev/null | wc -l; }
[ "$(conta 'ARQUIVO_REMESSA_CONCATENACAO_20261209_*.PDF')" = 1 ] || falha "relatório da concatenação"
[ "$(conta 'ARQUIVO_REMESSA_VENDOR_20261209_*.PDF')" = 4 ] || falha "relatórios das remessas Vendor: $(conta 'ARQUIVO_REMESSA_VENDOR_*.PDF')"
[ "$(conta 'ARQUIVO_RETORNO_VENDOR_20261209_*.PDF')" = 3 ] || falha "relatórios dos retornos Vendor: $(conta 'ARQUIVO_RETORNO_VENDOR_*.PDF')"
[ "$(conta 'ARQUIVO_RETORNO_SEGREGACAO_20261209_*.PDF')" = 2 ] || falha "relatórios da segregação: $(conta 'ARQUIVO_RETORNO_SEGREGACAO_*.PDF')"
for f in *.PDF; do
  [ "$(head -c 5 "$f")" = "%PDF-" ] || falha "$f não é PDF"
done
rm -f ./*.PDF

# Processing time of the Vendor bank files.
for f in VCOFAP.TXT VCELPAV.TXT VWABCO.TXT; do
  [ -f "$f" ] || continue
  hora=$(head -c 117 "$f" | tail -c 6)
  [[ "$hora" =~ ^([01][0-9]|2[0-3])[0-5][0-9][0-5][0-9]$ ]] || falha "hora de processamento de $f: $hora"
  { head -c 111 "$f"; printf 'HHMMSS'; tail -c +118 "$f"; } >"$dir/t" && mv "$dir/t" "$f"
done
# The segregation logs, joined, with the clock taken out.
logs=(CV09[0-2][0-9][0-5][0-9].LOG)
if [ -f "${logs[0]}" ]; then
  cat "${logs[@]}" | sed -E 's/ - [0-2][0-9]:[0-5][0-9]:[0-5][0-9] - / - hh:mm:ss - /; s/CV09[0-9]{4}\.LOG/CV09hhmm.LOG/' >"$dir/log"
  rm -f "${logs[@]}"
  mv "$dir/log" CV09hhmm.LOG
else
  falha "nenhum log da segregação"
fi

if [ "${ATUALIZA_ESPERADO:-0}" = 1 ]; then
  rm -rf "$esperado" && mkdir -p "$esperado" && cp -a . "$esperado/"
  echo "tests/data/dia_completo regravado"
  exit 0
fi

# Names: the same files, no more, no fewer (git keeps no empty directory).
diff <(cd "$esperado" && find . -type f | LC_ALL=C sort) <(find . -type f | LC_ALL=C sort) >"$dir/nomes" ||
  { falha "arquivos diferentes dos esperados (< esperado, > produzido)"; cat "$dir/nomes"; }
# Contents, byte for byte.
while IFS= read -r f; do
  [ -f "$f" ] || continue
  cmp -s "$esperado/$f" "$f" || falha "conteúdo de $f"
done < <(cd "$esperado" && find . -type f | LC_ALL=C sort)

# A file of the day already there (in another letter case): the
# installation refuses before creating anything, and the file stays.
outro="$dir/outro"
mkdir -p "$outro"
printf 'REMESSA DO CLIENTE\r\n' >"$outro/cofaprem.txt"
"$bin/conversor-instala" "$outro" --exemplo >/dev/null 2>"$dir/err"
status=$?
[ "$status" = 1 ] || falha "instalação sobre arquivo existente terminou com status $status"
grep -q "JÁ EXISTE" "$dir/err" || { falha "mensagem da recusa"; cat "$dir/err"; }
[ -z "$(find "$outro" -mindepth 1 ! -name cofaprem.txt)" ] || falha "a instalação recusada criou: $(find "$outro" -mindepth 1)"
[ "$(cat "$outro/cofaprem.txt")" = $'REMESSA DO CLIENTE\r' ] || falha "remessa do cliente alterada"

[ $falhas -eq 0 ] && echo "dia completo: tudo certo"
exit $falhas
