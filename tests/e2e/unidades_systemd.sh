#!/usr/bin/env bash
# The night's systemd units: systemd-analyze verify accepts them, every timer
# starts a unit that exists, and the service's command line, run as systemd
# would run it, executes the request of the environment file in its data
# directory (a directory name with spaces, a request of two words).
set -u
bin=$(cd "$1" && pwd)
fonte=$(cd "$(dirname "$0")/../.." && pwd)
unidades=$fonte/dist/systemd
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
falhas=0
falha() { echo "FALHOU: $*"; falhas=$((falhas + 1)); }

# The command systemd runs, read from the unit. Only "$$" may appear (a
# literal dollar for the shell), so systemd's own substitution leaves the
# line as it is and the shell sees it with "$$" turned into "$".
servico=$unidades/conversor@.service
linha=$(sed -n 's/^ExecStart=//p' "$servico")
[ -n "$linha" ] || { echo "FALHOU: conversor@.service sem ExecStart"; exit 1; }
if printf '%s' "$linha" | sed 's/\$\$//g' | grep -q '\$'; then
  falha "ExecStart com variável que o systemd substituiria: $linha"
fi
comando=${linha//\$\$/\$}

export CONVERSOR_DATA=20261209
dados="$dir/dados da filial"
"$bin/conversor-instala" "$dados" --exemplo >/dev/null || { echo "instalação falhou"; exit 1; }
# The bank's returns of the first pass, as the day moves them in.
mv "$dados"/BANCO/1/* "$dados"/
# The service's environment: its EnvironmentFile and Environment= lines, and
# systemd's PATH with the program in it; nothing from this shell.
cat >"$dir/retorno-1.env" <<FIM
CONVERSOR_DADOS="$dados"
CONVERSOR_PEDIDO="RETORNO 1"
FIM
grep -q '^EnvironmentFile=/etc/conversor/%i.env$' "$servico" || falha "EnvironmentFile não é /etc/conversor/%i.env"
grep -q '^Environment=CONVERSOR_SEM_JANELA=1$' "$servico" || falha "serviço sem CONVERSOR_SEM_JANELA=1"
grep -q '^Type=oneshot$' "$servico" || falha "serviço não é oneshot"
( set -a; . "$dir/retorno-1.env"; set +a
  cd / && exec env -i PATH="$bin:/usr/bin:/bin" CONVERSOR_SEM_JANELA=1 CONVERSOR_DATA=$CONVERSOR_DATA \
    CONVERSOR_DADOS="$CONVERSOR_DADOS" CONVERSOR_PEDIDO="$CONVERSOR_PEDIDO" bash -c "$comando" ) \
  </dev/null >"$dir/out" 2>"$dir/err"
st=$?
[ $st -eq 0 ] || { falha "serviço terminou com $st"; cat "$dir/err"; }
ls "$dados"/ARQUIVO_RETORNO_SEGREGACAO_20261209_*.PDF >/dev/null 2>&1 || falha "a passada 1 não gravou o relatório da segregação no diretório de dados"
ls "$dados"/*.ANT >/dev/null 2>&1 || falha "a passada 1 não leu nenhum retorno do banco"

# Every timer names a unit whose template is shipped.
for t in "$unidades"/*.timer; do
  u=$(sed -n 's/^Unit=//p' "$t")
  [ -n "$u" ] || { falha "$(basename "$t") sem Unit="; continue; }
  modelo=$(printf '%s' "$u" | sed 's/@[^.]*\./@./')
  [ -f "$unidades/$modelo" ] || falha "$(basename "$t") aciona $u, e $modelo não existe"
done

if ! command -v systemd-analyze >/dev/null; then
  echo "systemd-analyze ausente: a verificação do systemd não rodou"
  [ $falhas -eq 0 ] || exit 1
  exit 77
fi
# verify wants instances of the templates, in a directory of its own, and
# resolves Documentation=man: against the pages of this tree.
mkdir -p "$dir/u" "$dir/man/man1"
cp "$unidades"/*.service "$unidades"/*.timer "$dir/u/"
cp "$fonte"/doc/*.1 "$dir/man/man1/"
( cd "$dir/u" && MANPATH="$dir/man" systemd-analyze verify \
    conversor@remessa.service conversor@retorno-1.service \
    conversor-remessa.timer conversor-retorno@1.timer ) >"$dir/verify" 2>&1
st=$?
cat "$dir/verify"
if [ $st -ne 0 ] || [ -s "$dir/verify" ]; then
  # In a container without systemd as the system manager it may still refuse
  # to start at all; say so instead of blaming the units.
  if grep -qiE 'Failed to (initialize|create|set up) manager|Permission denied|not been booted' "$dir/verify"; then
    echo "systemd-analyze verify não pode rodar aqui"
    [ $falhas -eq 0 ] || exit 1
    exit 77
  fi
  falha "systemd-analyze verify (status $st)"
fi
[ $falhas -eq 0 ] || { echo "$falhas falha(s)"; exit 1; }
echo "ok"
