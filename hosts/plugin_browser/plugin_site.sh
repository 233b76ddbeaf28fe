# plugin_site.sh - sourced by the scripts that show the plug-in at work (the demo, the
# page-script test, the benchmark): a sample site with a listing page that carries the
# plug-in's embed and a download list, and plugin_browser run on a drive of its own.
# Source scripts/env.sh and hosts/isapi_server/server_control.sh first.

# plugin_site_make SITE PORT - writes the sample site for a server on 127.0.0.1:PORT:
# files/ with five files and a listing page (index.htm, the default page), lists/sample.tvn.
plugin_site_make() {
  local site="$1" port="$2" base="http://127.0.0.1:$2"
  mkdir -p "$site/files/old" "$site/lists"
  printf 'Release notes\r\nVersion 1.0\r\n' >"$site/files/readme.txt"
  head -c 65536 /dev/urandom >"$site/files/setup.exe"
  head -c 150000 /dev/urandom >"$site/files/manual.zip"
  printf 'name,size\r\na,1\r\n' >"$site/files/prices.csv"
  head -c 4096 /dev/urandom >"$site/files/logo.gif"
  {
    printf '<HTML><HEAD><TITLE>Index of /files/</TITLE></HEAD><BODY>\n<H1>Index of /files/</H1>\n'
    printf '<embed type=application/tvn URL="%s/files/" width=600 height=26>\n</embed>\n<PRE>\n' "$base"
    printf '<A HREF="../">Parent Directory</A>\n<A HREF="old/">old/</A>\n'
    local f
    for f in readme.txt setup.exe manual.zip prices.csv logo.gif; do
      printf '<A HREF="%s">%s</A>  %8d bytes\n' "$f" "$f" "$(stat -c %s "$site/files/$f")"
    done
    printf '</PRE>\n</BODY></HTML>\n'
  } >"$site/files/index.htm"
  printf '*TVN-LIST 0.6\r\n%s/files/readme.txt\r\n%s/files/manual.zip\r\n../files/logo.gif\r\n' \
    "$base" "$base" >"$site/lists/sample.tvn"
}

# plugin_site_settings - the filter's default page list, so that /files/ answers index.htm.
plugin_site_settings() {
  reg_set_sz 'HKLM\SOFTWARE\Felmo\Velmorin\Parameters' DefaultLoadFiles "index.htm"
  reg_set_sz 'HKLM\SOFTWARE\Felmo\Velmorin\Parameters' LogFile ""
  reg_set_sz 'HKLM\SOFTWARE\Felmo\Velmorin\Parameters' NotFoundPage ""
}

# plugin_browse DRIVEDIR BROWSER PLUGINSDIR ARGS... - runs plugin_browser with the plug-ins
# of PLUGINSDIR on drive X: mapped to DRIVEDIR (where "\download\" and "\status.txt" land).
plugin_browse() {
  local drive="$1" browser="$2" plugins="$3"; shift 3
  mkdir -p "$drive"
  "$REPO_ROOT/scripts/winrun.sh" --drive X: "$drive" "$browser" --plugins "$(winpath "$plugins")" "$@"
}
