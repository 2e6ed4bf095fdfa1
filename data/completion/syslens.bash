# bash completion for syslens: options, and the keywords of -t and -s.
# Installed as /usr/share/bash-completion/completions/syslens.

_syslens() {
  local cur prev
  COMPREPLY=()
  cur=${COMP_WORDS[COMP_CWORD]}
  prev=${COMP_WORDS[COMP_CWORD-1]}

  case $prev in
    -t|--type)
      COMPREPLY=($(compgen -W "bios system baseboard chassis processor memory
        cache connector slot" -- "$cur"))
      return ;;
    -s|--string)
      COMPREPLY=($(compgen -W "bios-vendor bios-version bios-release-date
        bios-revision firmware-revision system-manufacturer system-product-name
        system-version system-serial-number system-uuid system-sku-number
        system-family baseboard-manufacturer baseboard-product-name
        baseboard-version baseboard-serial-number baseboard-asset-tag
        chassis-manufacturer chassis-type chassis-version chassis-serial-number
        chassis-asset-tag processor-family processor-manufacturer
        processor-version processor-frequency" -- "$cur"))
      return ;;
    --from-dump|--dump-bin)
      compopt -o filenames 2>/dev/null
      COMPREPLY=($(compgen -f -- "$cur"))
      return ;;
    -H|--handle)
      return ;;
  esac

  # Options only: the first word may also be a parameter string of the
  # classic viewer, which has nothing to complete.
  if [[ -z $cur || $cur == -* ]]; then
    COMPREPLY=($(compgen -W "-t --type -H --handle -u --dump -s --string
      --list-strings --list-types --json -q --quiet -V --version -h --help
      --from-dump --table-version --dump-bin --mask" -- "$cur"))
  fi
}
complete -F _syslens syslens
