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
"$bin/conversor-instala" "$dir/dados" --exemplo >/dev/null || { echo "instalação falhou"; exit 1; }
cd "$dir/dados"

"$bin/conversor" remessa 2>"$dir/err" </dev/null; confere "opção em minúsculas" 2 $?
contem "mensagem de opção inválida" "ATENÇÃO: Acione novamente com a opção correta." "$dir/err"
contem "lista de opções" '"RETORNO passada" - Segrega Arquivo Retorno do banco para os clientes;' "$dir/err"

"$bin/conversor" RETORNO 100 2>"$dir/err" </dev/null; confere "passada 100" 2 $?
contem "mensagem da passada" "Deverá estar entre o intervalo de 0 a 99." "$dir/err"

"$bin/conversor" 2>"$dir/err" </dev/null; confere "sem tela e sem solicitação" 2 $?

CONVERSOR_DATA=20260230 "$bin/conversor" REMESSA 2>"$dir/err" </dev/null; confere "data inválida" 1 $?
contem "data inválida nomeada" "CONVERSOR_DATA=20260230" "$dir/err"

# Without the installation table the engine's error names the file.
cd "$dir"
"$bin/conversor" REMESSA 2>"$dir/err" </dev/null; confere "sem tabelas" 1 $?
contem "erro do motor" "CONVEINS" "$dir/err"

[ $falhas -eq 0 ] && echo "linha de comando: tudo certo"
exit $falhas
