#!/usr/bin/env bash
# "conversor RETORNO [passada]" on the example data directory, without a
# screen: a Desconto return split into its client's file, byte for byte as
# written here, the bank file kept as its backup, the log file; then the
# pass that closes the Cobrança 400 client's day, with its two consolidated
# files; a pass number out of range changes nothing.
set -u
bin=$(cd "$1" && pwd)
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
falhas=0
falha() { echo "FALHOU: $*"; falhas=$((falhas + 1)); }
linha() {  # largura [posição texto]... : one record, blank-filled, CR LF
  local w=$1 l; shift
  l=$(printf "%-${w}s" "")
  while [ $# -gt 0 ]; do
    l="${l:0:$1-1}$2${l:$1-1+${#2}}"
    shift 2
  done
  printf "%s\r\n" "$l"
}
igual() { cmp -s "$2" "$3" || falha "$1"; }
sem_erro() {  # status arquivo-de-erros
  [ "$1" = 0 ] && ! grep -q "^ATENÇÃO" "$2" || { falha "terminou com status $1"; cat "$2"; }
}

export CONVERSOR_SEM_JANELA=1 CONVERSOR_DATA=20261209
"$bin/conversor-instala" "$dir/dados" --cadastros >/dev/null || { echo "instalação falhou"; exit 1; }
cd "$dir/dados"

# DELTA (Desconto 400) is identified by the first 11 characters of its
# IDENTEMP, QUORDELTA; the second block belongs to no client.
{
  linha 400 1 0 30 QUORDELTA
  linha 400 1 1 50 "DESCONTO DUPLICATA 1"
  linha 400 1 9 395 000003
  linha 400 1 0 30 QUOROUTRO
  linha 400 1 9
} >RD0912.020
cp RD0912.020 "$dir/banco"
# A return of BETA400 parked by an earlier pass.
{
  linha 400 1 0RETORNO 95 091226 109 00005
  linha 400 1 1 71 TITULO000001 109 06 153 0000000000150
  linha 400 1 1 71 TITULO000002 109 02 153 0000000000025
  linha 400 1 9
} >TEMP/BETA400/RC080000.001

"$bin/conversor" RETORNO 7 2>"$dir/err" </dev/null
sem_erro $? "$dir/err"
{
  linha 400 1 0 30 QUORDELTA
  linha 400 1 1 50 "DESCONTO DUPLICATA 1"
  linha 400 1 9 395 000003
} >"$dir/esperado"
igual "retorno do DELTA" "$dir/esperado" DELTA
igual "RD0912.ANT" "$dir/banco" RD0912.ANT
[ ! -e RD0912.020 ] || falha "RD0912.020 continua no diretório"
[ -e TEMP/BETA400/RC080000.001 ] || falha "passada 7 consolidou BETA400 (última passada 0)"
logs=(CV09*.LOG)
[ ${#logs[@]} = 1 ] && [ -f "${logs[0]}" ] || falha "arquivo de log: ${logs[*]}"
log=${logs[0]}
sed -n 2p "$log" | grep -q "Passada:  7 - Arquivo: $log" || falha "segunda linha do log: $(sed -n 2p "$log")"
grep -q "^          QUOROUTRO   - CLIENTE SEM DEFINI" "$log" || falha "bloco sem cliente no log"
awk '{ if (length($0) != 121) exit 1 }' "$log" || falha "linhas do log sem 120 colunas"
for f in ARQUIVO_RETORNO_SEGREGACAO_20261209_*.PDF; do
  [ -e "$f" ] && [ "$(head -c 4 "$f")" = "%PDF" ] || falha "relatório $f não é PDF"
done

# Pass 0 (the menu's) is BETA400's last pass: its day is consolidated.
rm -f CV09*.LOG
"$bin/conversor" RETORNO 2>"$dir/err" </dev/null
sem_erro $? "$dir/err"
{
  linha 400 1 0RETORNO 95 091226 109 00005 380 091226
  linha 400 1 1 71 TITULO000001 109 06 153 0000000000150 395 000002
  linha 400 1 9 40 00000005 58 00000 63 000000000000 75 000000000150 87 00001 \
    92 000000000000 104 00000 109 000000000000 121 00000 126 000000000000 138 00000 \
    143 000000000000 155 00000 160 000000000000 172 00000 177 000000000000 \
    363 000000000000000 378 00000000 395 000003
} >"$dir/esperado"
igual "BETA400.RT1" "$dir/esperado" BETA400.RT1
[ "$(wc -l <BETA400.RT2)" = 4 ] || falha "BETA400.RT2 com $(wc -l <BETA400.RT2) linhas"
[ -z "$(ls TEMP/BETA400)" ] || falha "TEMP/BETA400 não ficou vazio: $(ls TEMP/BETA400)"
grep -q "BETA400.RT1 - 1o. Arquivo Retorno Gravado com sucesso" CV09*.LOG || falha "log da consolidação"

# Out of range: the message, status 2, nothing else.
rm -f CV09*.LOG
"$bin/conversor" RETORNO 120 2>"$dir/err" </dev/null
status=$?
[ "$status" = 2 ] || falha "RETORNO 120 terminou com status $status"
grep -q "NÚMERO DA PASSADA INFORMADO PARA SEGREGACAO NÃO ESTÁ PREVISTA." "$dir/err" || falha "mensagem da passada"
[ -z "$(ls CV09*.LOG 2>/dev/null)" ] || falha "RETORNO 120 escreveu log"

[ $falhas -eq 0 ] && echo "segregação: tudo certo"
exit $falhas
