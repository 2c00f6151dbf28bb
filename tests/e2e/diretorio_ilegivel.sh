#!/usr/bin/env bash
# A data directory that cannot be listed is an error, not an empty day:
# "conversor REMESSA" and "conversor RETORNO" say so, end with status 1 and
# leave every file as it was. Run by another user when started as the
# superuser, whom permissions do not stop.
set -u
bin=$(cd "$1" && pwd)
dir=$(mktemp -d)
trap 'chmod -R u+rwx "$dir"; rm -rf "$dir"' EXIT
falhas=0
falha() { echo "FALHOU: $*"; falhas=$((falhas + 1)); }

export CONVERSOR_SEM_JANELA=1 CONVERSOR_DATA=20261209
"$bin/conversor-instala" "$dir/dados" --cadastros >/dev/null || { echo "instalação falhou"; exit 1; }
cd "$dir/dados"
mkdir -p COPIA
printf '01REMESSA01COBRANCA BETA UM\r\n1 TITULO 1\r\n9\r\n' >BETA400.001
como=()
if [ "$(id -u)" = 0 ]; then
  command -v setpriv >/dev/null || { echo "setpriv ausente"; exit 77; }
  como=(setpriv --reuid=65534 --regid=65534 --clear-groups)
  chmod 0711 "$dir"
  chmod -R a+rwX "$dir/dados"
fi
antes=$(find . -type f -exec md5sum {} + | sort)
chmod a-r "$dir/dados"

for pedido in REMESSA "RETORNO 1"; do
  # shellcheck disable=SC2086
  "${como[@]}" "$bin/conversor" $pedido 2>"$dir/err" </dev/null
  status=$?
  [ "$status" = 1 ] || falha "$pedido: status $status"
  grep -q "NÃO FOI POSSÍVEL LER O DIRETÓRIO DE DADOS" "$dir/err" || { falha "$pedido: mensagem"; cat "$dir/err"; }
done

chmod u+r "$dir/dados"
depois=$(find . -type f -exec md5sum {} + | sort)
[ "$antes" = "$depois" ] || falha "arquivos mudaram: $(diff <(echo "$antes") <(echo "$depois"))"
[ $falhas = 0 ] && echo "ok" || exit 1
