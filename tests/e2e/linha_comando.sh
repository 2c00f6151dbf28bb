#!/usr/bin/env bash
# The real binary without a screen: exit statuses and messages of the
# command line, and the start-up check against a real data directory.
set -u
bin=$(cd "$1" && pwd)
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
falhas=0
confere() {  # descricao status_esperado status_obtido
  if [ "$2" != "$3" ]; then echo "FALHOU: $1 (status $3, esperado $2)"; falhas=$((falhas + 1)); fi
}
contem() {  # descricao texto arquivo
  if ! grep -qF -- "$2" "$3"; then echo "FALHOU: $1 (sem '$2' em:)"; cat "$3"; falhas=$((falhas + 1)); fi
}

export CONVERSOR_SEM_JANELA=1 CONVERSOR_DATA=20261209
"$bin/conversor-instala" "$dir/dados" --cadastros >/dev/null || { echo "instalação falhou"; exit 1; }
cd "$dir/dados"

antes=$(md5sum ./* 2>/dev/null)
"$bin/conversor" remessa 2>"$dir/err" </dev/null; confere "opção em minúsculas" 2 $?
# A CONVEINS already at 2.20 is left as it was, byte for byte, and nothing
# else is touched either.
depois=$(md5sum ./* 2>/dev/null)
[ "$antes" = "$depois" ] || { echo "FALHOU: opção inválida alterou arquivos"; falhas=$((falhas + 1)); }
contem "mensagem de opção inválida" "ATENÇÃO: Acione novamente com a opção correta." "$dir/err"
contem "lista de opções" '"RETORNO passada" - Segrega Arquivo Retorno do banco para os clientes;' "$dir/err"

"$bin/conversor" RETORNO 100 2>"$dir/err" </dev/null; confere "passada 100" 2 $?
contem "mensagem da passada" "Deverá estar entre o intervalo de 0 a 99." "$dir/err"

"$bin/conversor" 2>"$dir/err" </dev/null; confere "sem tela e sem solicitação" 2 $?

# The habits of Linux tools: --help and -h print the usage on the standard
# output and end with 0, --version the version; any other option keeps the
# system's invalid-option message and status 2.
for o in --help -h; do
  "$bin/conversor" $o >"$dir/out" 2>"$dir/err" </dev/null; confere "conversor $o" 0 $?
  for t in REMESSA "RETORNO [passada]" CONVERTE_REMESSA CONVERTE_RETORNO CONVERSOR_SEM_JANELA CONVERSOR_DATA CONVERSOR_ESPERA_MAX "Códigos de saída"; do
    contem "uso de conversor $o" "$t" "$dir/out"
  done
done
"$bin/conversor" --version >"$dir/out" </dev/null; confere "conversor --version" 0 $?
contem "versão" "conversor 2.20.4" "$dir/out"
"$bin/conversor" --ajuda 2>"$dir/err" </dev/null; confere "opção desconhecida" 2 $?
contem "opção desconhecida: mensagem do sistema" "Acione novamente com a opção correta." "$dir/err"
"$bin/conversor-instala" --help >"$dir/out" </dev/null; confere "conversor-instala --help" 0 $?
contem "uso do instalador" "--exemplo" "$dir/out"
"$bin/conversor-instala" --version >"$dir/out" </dev/null; confere "conversor-instala --version" 0 $?
# An unknown option is no directory name: usage, status 2, nothing created.
( cd "$dir" && "$bin/conversor-instala" --ajuda 2>"$dir/err" </dev/null; confere "conversor-instala --ajuda" 2 $?
  "$bin/conversor-instala" -x --exemplo 2>>"$dir/err" </dev/null; confere "conversor-instala -x --exemplo" 2 $?
  "$bin/conversor-instala" novo --ajuda 2>>"$dir/err" </dev/null; confere "conversor-instala novo --ajuda" 2 $?
  [ ! -e ./--ajuda ] && [ ! -e ./-x ] && [ ! -e ./novo ] || { echo "FALHOU: opção desconhecida criou um diretório"; exit 1; }; exit $falhas ) || falhas=$((falhas + 1))
contem "uso na recusa" "Uso: conversor-instala" "$dir/err"

CONVERSOR_DATA=20260230 "$bin/conversor" REMESSA 2>"$dir/err" </dev/null; confere "data inválida" 1 $?
contem "data inválida nomeada" "CONVERSOR_DATA=20260230" "$dir/err"

# An installation of an earlier version, written by another xBase tool: the
# Cobrança columns under their old names. The start brings it to 2.20
# keeping its data and reorganises the tables.
mkdir "$dir/antigo" && cp "$dir/dados"/CONVE{CLI,PEN,TAX}.* "$dir/antigo/"
cd "$dir/antigo"
/usr/bin/python3 - <<'PY' || { echo "FALHOU: python3-dbf"; falhas=$((falhas + 1)); }
import dbf
t = dbf.Table('CONVEINS.DBF', 'ARQREMVEN C(12); ARQREMDES C(12); ARQREMV24 C(12); SEQREMVEN N(2,0); '
              'SEQREMDES N(2,0); SEQREMV24 N(2,0); ULTDATCOB C(4); DIRCOPIA C(40); PRAZOPEN N(3,0); '
              'VERSAO C(4); ARQREMCOB C(12); SEQREMCOB N(2,0)', codepage='cp1252', dbf_type='db3')
t.open(dbf.READ_WRITE)
t.append({'versao': '2.10', 'arqremcob': 'CB40DDMM.NN', 'seqremcob': 42, 'dircopia': 'COPIA', 'prazopen': 30})
t.close()
PY
"$bin/conversor" REMESSA 2>"$dir/err" </dev/null
contem "reorganização na partida" "Reorganização concluída com sucesso" "$dir/err"
"$bin/conversor-instala" . --mostra >"$dir/tabelas"
contem "versão 2.20" "VERSAO=2.20" "$dir/tabelas"
contem "coluna renomeada com o dado" "ARQREMC40=CB40DDMM.NN" "$dir/tabelas"
contem "sequência renomeada com o dado" "SEQREMC40=42" "$dir/tabelas"

# Without the installation table the engine's error names the file.
cd "$dir"
"$bin/conversor" REMESSA 2>"$dir/err" </dev/null; confere "sem tabelas" 1 $?
contem "erro do motor" "CONVEINS" "$dir/err"

[ $falhas -eq 0 ] && echo "linha de comando: tudo certo"
exit $falhas
